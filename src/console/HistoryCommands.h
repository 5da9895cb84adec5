#pragma once

// korvel-collect's history: the reports read from it, and the recording of a collection.

#include "Arguments.h"
#include "collect/CollectionRun.h"

namespace korvel::console {

// --changes SHOP: 0 when the report was made, 1 when the history cannot be read.
int ReportChanges(const CollectCommand& command);
// --runs SHOP: the same statuses.
int ListRuns(const CollectCommand& command);
// Records an ended collection unless --no-store; a failure costs one line on stderr.
void RecordInHistory(const CollectCommand& command, const CollectionRun& run);

// The history --store names, or the default one.
std::string StorePathOf(const CollectCommand& command);

}  // namespace korvel::console
