#include "store/History.h"

#include "store/OpenStore.h"
#include "store/StoreFailureText.h"
#include "store/StoreQueries.h"

namespace korvel {
namespace {

using store::Guarded;

// A store operation guarded (store::Guarded) as a reading: all its queries see one state of the file.
template <typename Operation>
auto GuardedRead(store::Database& db, Operation operation) -> StoreResult<decltype(operation())>
{
    return Guarded([&] {
        store::ReadTransaction snapshot(db);
        return operation();
    });
}

}  // namespace

History::History(std::unique_ptr<store::Database> db) : db_(std::move(db)) {}

History::~History() = default;

StoreResult<std::unique_ptr<History>> History::Open(const std::string& path)
{
    auto db = store::OpenStore(path);
    if (!db.ok())
        return db.error();
    return std::unique_ptr<History>(new History(std::move(db.value())));
}

StoreResult<Done> History::record(const CollectionRun& run, const std::string& programVersion)
{
    return Guarded([&] {
        store::RecordRun(*db_, run, programVersion);
        return Done{};
    });
}

StoreResult<std::vector<std::string>> History::shops()
{
    return GuardedRead(*db_, [&] { return store::ShopHosts(*db_); });
}

StoreResult<std::vector<RunSummary>> History::runs(const std::string& host)
{
    return GuardedRead(*db_, [&] {
        std::vector<RunSummary> summaries;
        for (store::StoredRun& run : store::StoredRuns(*db_, host))
            summaries.push_back(std::move(run.summary));
        return summaries;
    });
}

StoreResult<ChangeReport> History::changes(const std::string& host)
{
    return GuardedRead(*db_, [&] { return store::ShopChanges(*db_, host); });
}

StoreResult<std::vector<SeriesPoint>> History::series(const std::string& host, const std::string& id)
{
    return GuardedRead(*db_, [&] { return store::ProductSeries(*db_, host, id); });
}

StoreResult<std::vector<Product>> History::products(const std::string& host, std::int64_t number)
{
    return GuardedRead(*db_, [&] {
        for (const store::StoredRun& run : store::StoredRuns(*db_, host)) {
            if (run.summary.number == number)
                return store::RunProducts(*db_, run);
        }
        return std::vector<Product>{};
    });
}

}  // namespace korvel
