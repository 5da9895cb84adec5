#include "store/SqliteStore.h"

#include "store/RunAssembly.h"
#include "store/StoreFailureText.h"
#include "store/StoreFile.h"
#include "store/StoreQueries.h"

namespace korvel::store {
namespace {

// A store operation guarded (Guarded) as a reading: all its queries see one state of the file.
template <typename Operation>
auto GuardedRead(Database& db, Operation operation) -> StoreResult<decltype(operation())>
{
    return Guarded([&] {
        ReadTransaction snapshot(db);
        return operation();
    });
}

}  // namespace

StoreResult<std::unique_ptr<Store>> SqliteStore::Open(const std::string& path, std::string programVersion,
                                                      const Cancellation* stop)
{
    auto db = OpenStoreFile(path, stop);
    if (!db.ok())
        return db.error();
    return std::unique_ptr<Store>(new SqliteStore(std::move(db.value()), std::move(programVersion)));
}

SqliteStore::SqliteStore(std::unique_ptr<Database> db, std::string programVersion)
    : db_(std::move(db)), version_(std::move(programVersion))
{
}

SqliteStore::~SqliteStore() = default;

std::int64_t SqliteStore::numberOf(std::int64_t row)
{
    Statement number = db_->prepare("SELECT number FROM run WHERE id = ?");
    number.bind(1, row).step();
    return number.integer(0);
}

void SqliteStore::interrupt()
{
    db_->interrupt();
}

StoreResult<std::int64_t> SqliteStore::record(const CollectionRun& run)
{
    return Guarded([&] {
        WriteTransaction transaction(*db_);
        const std::int64_t number = numberOf(RecordRunRows(*db_, run, version_));
        transaction.commit();
        return number;
    });
}

StoreResult<std::vector<std::string>> SqliteStore::shops()
{
    return GuardedRead(*db_, [&] { return ShopHosts(*db_); });
}

StoreResult<std::vector<RunSummary>> SqliteStore::runs(const std::string& host)
{
    return GuardedRead(*db_, [&] {
        std::vector<RunSummary> summaries;
        for (StoredRun& run : StoredRuns(*db_, host))
            summaries.push_back(std::move(run.summary));
        return summaries;
    });
}

StoreResult<ChangeReport> SqliteStore::changes(const std::string& host)
{
    return GuardedRead(*db_, [&] { return ShopChanges(*db_, host); });
}

StoreResult<std::vector<SeriesPoint>> SqliteStore::series(const std::string& host, const std::string& id)
{
    return GuardedRead(*db_, [&] { return ProductSeries(*db_, host, id); });
}

StoreResult<CollectionRun> SqliteStore::run(const std::string& host, std::int64_t number)
{
    auto found = GuardedRead(*db_, [&]() -> std::optional<CollectionRun> {
        for (const StoredRun& stored : StoredRuns(*db_, host)) {
            if (stored.summary.number == number)
                return RunFrom(stored.summary, ReadProducts(*db_, stored));
        }
        return std::nullopt;
    });
    if (!found.ok())
        return found.error();
    if (!found.value())
        return RunNotFound(host, number);
    return std::move(*found.value());
}

}  // namespace korvel::store
