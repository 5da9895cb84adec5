#include "pgstore/PgStore.h"

#include <exception>

#include "pgstore/Pg.h"
#include "pgstore/PgSchema.h"
#include "pgstore/PgRecords.h"

namespace korvel::pg {

using batch::BatchStart;
using batch::ShopStage;
using batch::ShopState;

bool IsPostgresUri(std::string_view store)
{
    return store.starts_with("postgresql://") || store.starts_with("postgres://");
}

std::unique_ptr<PgStore> PgStore::Open(const std::string& uri, const std::string& programVersion, std::string& error)
{
    try {
        auto connection = std::make_unique<Connection>(uri, 10);
        PrepareSchema(*connection);
        return std::unique_ptr<PgStore>(new PgStore(std::move(connection), programVersion));
    } catch (const PgFailure& failure) {
        error = failure.message;
        return nullptr;
    }
}

PgStore::PgStore(std::unique_ptr<Connection> connection, std::string programVersion)
    : connection_(std::move(connection)), version_(std::move(programVersion))
{
}

PgStore::~PgStore() = default;

// Runs one call's work; a failure becomes lastError() and an empty answer.
template <typename Work>
auto PgStore::guarded(Work work) -> decltype(work())
{
    try {
        return work();
    } catch (const PgFailure& failure) {
        error_ = failure.message;
        return {};
    } catch (const std::exception& failure) {
        error_ = std::string("the store is damaged: ") + failure.what();
        return {};
    }
}

std::optional<std::vector<ShopState>> PgStore::begin(const std::string& batch, const std::vector<std::string>& hosts,
                                                     BatchStart start)
{
    return guarded([&]() -> std::optional<std::vector<ShopState>> {
        Transaction transaction(*connection_);
        const std::string list = HostArray(hosts);
        connection_->exec("INSERT INTO batch(id) VALUES($1) ON CONFLICT DO NOTHING", {batch});
        connection_->exec("INSERT INTO batch_shop(batch, host, stage) SELECT $1, unnest($2::text[]), 0"
                          " ON CONFLICT DO NOTHING",
                          {batch, list});
        if (start != BatchStart::Continue)
            connection_->exec("UPDATE batch_shop SET stage = 0, outcome = NULL, run = NULL WHERE batch = $1"
                              " AND host = ANY($2::text[]) AND stage <> 0 AND ($3::boolean OR outcome <> 0)",
                              {batch, list, start == BatchStart::Fresh ? "true" : "false"});
        const Result found = connection_->exec(
            "SELECT b.host, b.stage, b.outcome, r.number FROM batch_shop b LEFT JOIN run r ON r.id = b.run"
            " WHERE b.batch = $1 AND b.host = ANY($2::text[])",
            {batch, list});
        auto states = StatesInListOrder(found, hosts);
        transaction.commit();
        return states;
    });
}

std::optional<std::int64_t> PgStore::record(const std::string& batch, const CollectionRun& run,
                                            batch::ShopOutcome outcome)
{
    return guarded([&]() -> std::optional<std::int64_t> {
        Transaction transaction(*connection_);
        // A second attempt at the same shop (a retried task racing a slow one) adds nothing.
        const Result done = connection_->exec(
            "SELECT b.stage, r.number FROM batch_shop b LEFT JOIN run r ON r.id = b.run"
            " WHERE b.batch = $1 AND b.host = $2 FOR UPDATE OF b",
            {batch, run.shopHost});
        if (done.rows() == 1 && done.integer(0, 0) != 0 && !done.isNull(0, 1)) {
            transaction.commit();
            return done.integer(0, 1);
        }
        const RecordedRun recorded = RecordRun(*connection_, run, version_);
        connection_->exec("INSERT INTO batch_shop(batch, host, stage, outcome, run) VALUES($1, $2, 1, $3, $4)"
                          " ON CONFLICT (batch, host) DO UPDATE SET stage = 1, outcome = $3, run = $4",
                          {batch, run.shopHost, std::to_string(batch::OutcomeCode(outcome)), std::to_string(recorded.id)});
        transaction.commit();
        return recorded.number;
    });
}

bool PgStore::markDelivered(const std::string& batch, const std::string& host)
{
    return guarded([&]() {
        connection_->exec("UPDATE batch_shop SET stage = 2 WHERE batch = $1 AND host = $2", {batch, host});
        return true;
    });
}

std::optional<CollectionRun> PgStore::loadRun(const std::string& host, std::int64_t run)
{
    return guarded([&]() -> std::optional<CollectionRun> { return LoadRun(*connection_, host, run); });
}

}  // namespace korvel::pg
