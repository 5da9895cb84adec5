#pragma once

// The history --store names: the SQLite file of this machine, or a postgresql:// URI that the
// shards of an array job share. The reports read either the same way.

#include <memory>

#include "Arguments.h"
#include "collect/CollectionRun.h"
#include "store/HistoryReading.h"

namespace korvel::console {

StoreResult<std::unique_ptr<HistoryReading>> OpenHistoryReading(const CollectCommand& command);
StoreResult<Done> RecordIntoStore(const CollectCommand& command, const CollectionRun& run);

}  // namespace korvel::console
