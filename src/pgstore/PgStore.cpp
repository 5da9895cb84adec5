#include "pgstore/PgStore.h"

#include "collect/ShopAddress.h"
#include "pgstore/PgGuard.h"
#include "pgstore/PgRecords.h"
#include "pgstore/PgSchema.h"

namespace korvel::pg {
StoreResult<std::unique_ptr<Store>> PgStore::Open(const std::string& uri, std::string programVersion)
{
    try {
        auto connection = std::make_unique<Connection>(uri, 10);
        PrepareSchema(*connection);
        return std::unique_ptr<Store>(new PgStore(std::move(connection), std::move(programVersion)));
    } catch (const PgFailure& failure) {
        return Unusable(failure);
    }
}

PgStore::PgStore(std::unique_ptr<Connection> connection, std::string programVersion)
    : connection_(std::move(connection)), version_(std::move(programVersion))
{
}

PgStore::~PgStore() = default;

// One reading sees one state of the store, however many shards record meanwhile.
template <typename Reading>
auto PgStore::snapshot(Reading reading) -> StoreResult<decltype(reading())>
{
    return Guarded([&] {
        Transaction transaction(*connection_);
        connection_->exec("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY");
        auto value = reading();
        transaction.commit();
        return value;
    });
}

void PgStore::interrupt()
{
    connection_->interrupt();
}

StoreResult<std::int64_t> PgStore::record(const CollectionRun& run)
{
    return Guarded([&] {
        Transaction transaction(*connection_);
        const RecordedRun recorded = RecordRun(*connection_, run, version_);
        transaction.commit();
        return recorded.number;
    });
}

StoreResult<std::vector<std::string>> PgStore::shops()
{
    return snapshot([&] {
        const Result rows =
            connection_->exec("SELECT host FROM shop WHERE id IN (SELECT shop FROM run) ORDER BY host");
        std::vector<std::string> hosts;
        for (int row = 0; row < rows.rows(); ++row)
            hosts.push_back(rows.bytes(row, 0));
        return hosts;
    });
}

StoreResult<std::vector<RunSummary>> PgStore::runs(const std::string& host)
{
    return snapshot([&] {
        std::vector<RunSummary> summaries;
        for (StoredRun& run : StoredRuns(*connection_, host))
            summaries.push_back(std::move(run.summary));
        return summaries;
    });
}

StoreResult<ChangeReport> PgStore::changes(const std::string& host)
{
    return snapshot([&] {
        return store::CompareLatestStored(
            StoredRuns(*connection_, host), [&](const StoredRun& run) { return ReadProducts(*connection_, run); },
            [&](const StoredRun& run) { return LowestBefore(*connection_, run); });
    });
}

StoreResult<std::vector<SeriesPoint>> PgStore::series(const std::string& host, const std::string& id)
{
    return snapshot([&] { return ProductSeries(*connection_, host, id); });
}

StoreResult<CollectionRun> PgStore::run(const std::string& host, std::int64_t number)
{
    auto found = snapshot([&] { return LoadRun(*connection_, host, number); });
    if (!found.ok())
        return found.error();
    if (!found.value())
        return RunNotFound(ShopKey(host), number);
    return std::move(*found.value());
}

}  // namespace korvel::pg
