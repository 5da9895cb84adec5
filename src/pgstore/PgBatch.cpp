// The batches' progress and the followed shops in the PostgreSQL store.

#include "pgstore/PgGuard.h"
#include "pgstore/PgRecords.h"
#include "pgstore/PgStore.h"

namespace korvel::pg {

using batch::BatchStart;
using batch::ShopState;

StoreResult<std::vector<ShopState>> PgStore::beginBatch(const std::string& batch,
                                                        const std::vector<std::string>& hosts, BatchStart start)
{
    return Guarded([&] {
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

StoreResult<std::int64_t> PgStore::recordInBatch(const std::string& batch, const CollectionRun& run,
                                                 batch::ShopOutcome outcome)
{
    return Guarded([&]() -> std::int64_t {
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
                          {batch, run.shopHost, std::to_string(batch::OutcomeCode(outcome)),
                           std::to_string(recorded.id)});
        transaction.commit();
        return recorded.number;
    });
}

StoreResult<Done> PgStore::markDelivered(const std::string& batch, const std::string& host)
{
    return Guarded([&] {
        connection_->exec("UPDATE batch_shop SET stage = 2 WHERE batch = $1 AND host = $2", {batch, host});
        return Done{};
    });
}

StoreResult<std::vector<std::string>> PgStore::followedShops()
{
    return Guarded([&] {
        const Result rows = connection_->exec("SELECT host FROM followed_shop ORDER BY id");
        std::vector<std::string> hosts;
        for (int row = 0; row < rows.rows(); ++row)
            hosts.push_back(rows.text(row, 0));
        return hosts;
    });
}

StoreResult<Done> PgStore::follow(const std::vector<std::string>& hosts)
{
    return Guarded([&] {
        // One row at a time, in the order given, so that the list keeps the order of adding.
        Transaction transaction(*connection_);
        for (const std::string& host : hosts)
            connection_->exec("INSERT INTO followed_shop(host) VALUES($1) ON CONFLICT DO NOTHING", {host});
        transaction.commit();
        return Done{};
    });
}

StoreResult<Done> PgStore::unfollow(const std::string& host)
{
    return Guarded([&] {
        connection_->exec("DELETE FROM followed_shop WHERE host = $1", {host});
        return Done{};
    });
}

StoreResult<std::int64_t> PgStore::pendingFollowed(const std::string& batch)
{
    return Guarded([&] {
        return static_cast<std::int64_t>(
            connection_
                ->exec("SELECT count(*) FROM batch_shop b JOIN followed_shop f ON f.host = b.host"
                       " WHERE b.batch = $1 AND b.stage = 0",
                       {batch})
                .integer(0, 0));
    });
}

}  // namespace korvel::pg
