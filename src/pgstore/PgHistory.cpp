#include "pgstore/PgHistory.h"

#include <exception>

#include "pgstore/Pg.h"
#include "pgstore/PgRecords.h"
#include "pgstore/PgSchema.h"

namespace korvel::pg {

namespace {

StoreError Unusable(const PgFailure& failure)
{
    return {StoreFailure::InputOutput, failure.message};
}

}  // namespace

StoreResult<std::unique_ptr<PgHistory>> PgHistory::Open(const std::string& uri)
{
    try {
        auto connection = std::make_unique<Connection>(uri, 10);
        PrepareSchema(*connection);
        return std::unique_ptr<PgHistory>(new PgHistory(std::move(connection)));
    } catch (const PgFailure& failure) {
        return Unusable(failure);
    }
}

PgHistory::PgHistory(std::unique_ptr<Connection> connection) : connection_(std::move(connection)) {}

PgHistory::~PgHistory() = default;

// One reading sees one state of the store, however many shards record meanwhile.
template <typename Reading>
auto PgHistory::snapshot(Reading reading) -> StoreResult<decltype(reading())>
{
    try {
        Transaction transaction(*connection_);
        connection_->exec("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY");
        auto value = reading();
        transaction.commit();
        return value;
    } catch (const PgFailure& failure) {
        return Unusable(failure);
    } catch (const std::exception& failure) {
        // Contents no recording writes (a length no run could have): the store is damaged.
        return StoreError{StoreFailure::Corrupt, std::string("the store is damaged: ") + failure.what()};
    }
}

StoreResult<Done> PgHistory::record(const CollectionRun& run, const std::string& programVersion)
{
    try {
        Transaction transaction(*connection_);
        RecordRun(*connection_, run, programVersion);
        transaction.commit();
        return Done{};
    } catch (const PgFailure& failure) {
        return Unusable(failure);
    }
}

StoreResult<std::vector<RunSummary>> PgHistory::runs(const std::string& host)
{
    return snapshot([&] {
        std::vector<RunSummary> summaries;
        for (StoredRun& run : StoredRuns(*connection_, host))
            summaries.push_back(std::move(run.summary));
        return summaries;
    });
}

StoreResult<ChangeReport> PgHistory::changes(const std::string& host)
{
    return snapshot([&] {
        return store::CompareLatestStored(
            StoredRuns(*connection_, host), [&](const StoredRun& run) { return RunProducts(*connection_, run); },
            [&](const StoredRun& run) { return LowestBefore(*connection_, run); });
    });
}

}  // namespace korvel::pg
