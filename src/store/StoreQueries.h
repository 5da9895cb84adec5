#pragma once

// The SQLite store's reading and writing, for SqliteStore's calls; each throws SqliteFailure.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "store/Store.h"
#include "store/Sqlite.h"

namespace korvel::store {

struct StoredRun {
    std::int64_t id = 0;    // the run's row: intervals of states count in these
    std::int64_t shop = 0;
    RunSummary summary;
};

// The run, its lost pages and its products' states inside the caller's transaction, which may
// record more with it; the run's row.
std::int64_t RecordRunRows(Database& db, const CollectionRun& run, const std::string& programVersion);

std::optional<std::int64_t> ShopId(Database& db, const std::string& host);
std::vector<std::string> ShopHosts(Database& db);
std::vector<StoredRun> StoredRuns(Database& db, const std::string& host);
std::vector<Product> ReadProducts(Database& db, const StoredRun& run);
// The lowest numeric sale price of each product over the shop's complete runs before `run`.
LowestPrices LowestBefore(Database& db, const StoredRun& run);

ChangeReport ShopChanges(Database& db, const std::string& host);
std::vector<SeriesPoint> ProductSeries(Database& db, const std::string& host, const std::string& id);

}  // namespace korvel::store
