#pragma once

// The history --store names (or $KORVEL_STORE, or the default file): the SQLite file of this
// machine or a postgresql:// address that the shards of an array job share.

#include <memory>

#include "Arguments.h"
#include "store/Store.h"

namespace korvel::console {

StoreResult<std::unique_ptr<Store>> OpenHistory(const CollectCommand& command);

}  // namespace korvel::console
