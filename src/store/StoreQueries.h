#pragma once

// The store's reading and writing, for History's functions; each throws SqliteFailure.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/History.h"
#include "store/Sqlite.h"

namespace korvel::store {

struct StoredRun {
    std::int64_t id = 0;    // the run's row: intervals of states count in these
    std::int64_t shop = 0;
    RunSummary summary;
};

void RecordRun(Database& db, const CollectionRun& run, const std::string& programVersion);
// The same inside the caller's transaction, which may record more with it; the run's row.
std::int64_t RecordRunRows(Database& db, const CollectionRun& run, const std::string& programVersion);

std::optional<std::int64_t> ShopId(Database& db, const std::string& host);
std::vector<std::string> ShopHosts(Database& db);
std::vector<StoredRun> StoredRuns(Database& db, const std::string& host);
std::vector<Product> RunProducts(Database& db, const StoredRun& run);
// The lowest numeric sale price of each product over the shop's complete runs before `run`.
LowestPrices LowestBefore(Database& db, const StoredRun& run);

ChangeReport ShopChanges(Database& db, const std::string& host);
std::vector<SeriesPoint> ProductSeries(Database& db, const std::string& host, const std::string& id);

}  // namespace korvel::store
