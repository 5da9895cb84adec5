#pragma once

// The rows behind a run and a batch's shops, for PgStore's own sources; each throws PgFailure.

#include <cstdint>
#include <string>
#include <vector>

#include <optional>

#include "store/Store.h"
#include "pgstore/Pg.h"

namespace korvel::pg {

// A text[] literal of hosts (DNS names: nothing in them needs quoting).
std::string HostArray(const std::vector<std::string>& hosts);

// Rows of (host, stage, outcome, run) as states in the order of `hosts`.
std::vector<batch::ShopState> StatesInListOrder(const Result& rows, const std::vector<std::string>& hosts);

struct RecordedRun {
    std::int64_t id = 0;      // the row
    std::int64_t number = 0;  // among the shop's runs, from 1
};

// The run, its lost pages and its products' states, inside the caller's transaction.
RecordedRun RecordRun(Connection& connection, const CollectionRun& run, const std::string& programVersion);

struct StoredRun {
    std::int64_t id = 0;
    std::int64_t shop = 0;
    RunSummary summary;
};

// The shop's runs, oldest first; none for a shop the store has not seen.
std::vector<StoredRun> StoredRuns(Connection& connection, const std::string& host);
// The run's products as recorded, in their order.
std::vector<Product> ReadProducts(Connection& connection, const StoredRun& run);
// The lowest numeric sale price of each product over the shop's complete runs before `run`.
LowestPrices LowestBefore(Connection& connection, const StoredRun& run);

// The shop's run with that number; none when the store does not hold it.
std::optional<CollectionRun> LoadRun(Connection& connection, const std::string& host, std::int64_t number);

// The runs that showed the product, oldest first.
std::vector<SeriesPoint> ProductSeries(Connection& connection, const std::string& host, const std::string& id);

}  // namespace korvel::pg
