// The batches' progress and the followed shops in the SQLite store.

#include "store/SqliteStore.h"
#include "store/StoreFailureText.h"
#include "store/StoreQueries.h"

namespace korvel::store {
namespace {

using batch::BatchStart;
using batch::ShopStage;
using batch::ShopState;

// The shop's stage, outcome and run number in the batch.
ShopState StateOf(Statement& select, const std::string& host)
{
    ShopState state{host, ShopStage::Pending, std::nullopt, 0};
    if (select.step()) {
        state.stage = ShopStage(select.integer(0));
        if (!select.isNull(1))
            state.outcome = batch::OutcomeFromCode(select.integer(1));
        if (!select.isNull(2))
            state.run = select.integer(2);
    }
    select.reset();
    return state;
}

constexpr char SelectState[] =
    "SELECT b.stage, b.outcome, r.number FROM batch_shop b LEFT JOIN run r ON r.id = b.run"
    " WHERE b.batch = ? AND b.host = ?";

}  // namespace

StoreResult<std::vector<ShopState>> SqliteStore::beginBatch(const std::string& batch,
                                                            const std::vector<std::string>& hosts, BatchStart start)
{
    return Guarded([&] {
        WriteTransaction transaction(*db_);
        Statement enter = db_->prepare("INSERT OR IGNORE INTO batch_shop(batch, host, stage) VALUES(?, ?, 0)");
        Statement reset = db_->prepare(
            "UPDATE batch_shop SET stage = 0, outcome = NULL, run = NULL WHERE batch = ? AND host = ?"
            " AND stage <> 0 AND (? OR outcome <> 0)");
        Statement select = db_->prepare(SelectState);
        std::vector<ShopState> states;
        for (const std::string& host : hosts) {
            enter.bindText(1, batch).bindText(2, host).run();
            if (start != BatchStart::Continue)
                reset.bindText(1, batch).bindText(2, host).bind(3, start == BatchStart::Fresh ? 1 : 0).run();
            select.bindText(1, batch).bindText(2, host);
            states.push_back(StateOf(select, host));
        }
        transaction.commit();
        return states;
    });
}

StoreResult<std::int64_t> SqliteStore::recordInBatch(const std::string& batch, const CollectionRun& run,
                                                     batch::ShopOutcome outcome)
{
    return Guarded([&]() -> std::int64_t {
        WriteTransaction transaction(*db_);
        Statement select = db_->prepare(SelectState);
        select.bindText(1, batch).bindText(2, run.shopHost);
        // Recorded already (a second attempt at the shop): nothing is added.
        if (const ShopState known = StateOf(select, run.shopHost); known.stage != ShopStage::Pending && known.run)
            return known.run;
        const std::int64_t row = RecordRunRows(*db_, run, version_);
        db_->prepare("INSERT OR REPLACE INTO batch_shop(batch, host, stage, outcome, run) VALUES(?, ?, 1, ?, ?)")
            .bindText(1, batch)
            .bindText(2, run.shopHost)
            .bind(3, batch::OutcomeCode(outcome))
            .bind(4, row)
            .run();
        const std::int64_t number = numberOf(row);
        transaction.commit();
        return number;
    });
}

StoreResult<Done> SqliteStore::markDelivered(const std::string& batch, const std::string& host)
{
    return Guarded([&] {
        db_->prepare("UPDATE batch_shop SET stage = 2 WHERE batch = ? AND host = ?").bindText(1, batch).bindText(2, host).run();
        return Done{};
    });
}

StoreResult<std::vector<std::string>> SqliteStore::followedShops()
{
    return Guarded([this] {
        Statement select = db_->prepare("SELECT host FROM followed_shop ORDER BY id");
        std::vector<std::string> hosts;
        while (select.step())
            hosts.push_back(select.bytes(0));
        return hosts;
    });
}

StoreResult<Done> SqliteStore::follow(const std::vector<std::string>& hosts)
{
    return Guarded([&] {
        WriteTransaction transaction(*db_);
        Statement insert = db_->prepare("INSERT OR IGNORE INTO followed_shop(host) VALUES(?)");
        for (const std::string& host : hosts)
            insert.bindText(1, host).run();
        transaction.commit();
        return Done{};
    });
}

StoreResult<Done> SqliteStore::unfollow(const std::string& host)
{
    return Guarded([&] {
        db_->prepare("DELETE FROM followed_shop WHERE host = ?").bindText(1, host).run();
        return Done{};
    });
}

StoreResult<std::int64_t> SqliteStore::pendingFollowed(const std::string& batch)
{
    return Guarded([&] {
        Statement count = db_->prepare("SELECT count(*) FROM batch_shop b JOIN followed_shop f ON f.host = b.host"
                                       " WHERE b.batch = ? AND b.stage = 0");
        count.bindText(1, batch).step();
        return count.integer(0);
    });
}

}  // namespace korvel::store
