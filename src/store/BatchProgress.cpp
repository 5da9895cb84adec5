#include "store/BatchProgress.h"

#include "store/OpenStore.h"
#include "store/RunAssembly.h"
#include "store/StoreFailureText.h"
#include "store/StoreQueries.h"
#include "text/Encoding.h"

namespace korvel {
namespace {

using batch::BatchStart;
using batch::ShopStage;
using batch::ShopState;

std::string Utf8(const std::string& gbk)
{
    std::string utf8 = GbkToUtf8(gbk);
    if (!utf8.empty())
        utf8.pop_back();  // the converter's closing zero byte
    return utf8;
}

// The shop's stage, outcome and run number in the batch.
ShopState StateOf(store::Statement& select, const std::string& host)
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

StoreResult<std::unique_ptr<BatchProgress>> BatchProgress::Open(const std::string& path, std::string programVersion)
{
    auto db = store::OpenStore(path);
    if (!db.ok())
        return db.error();
    return std::unique_ptr<BatchProgress>(new BatchProgress(std::move(db.value()), std::move(programVersion)));
}

BatchProgress::BatchProgress(std::unique_ptr<store::Database> db, std::string programVersion)
    : db_(std::move(db)), version_(std::move(programVersion))
{
}

BatchProgress::~BatchProgress() = default;

template <typename Work>
auto BatchProgress::guarded(Work work) -> decltype(work())
{
    try {
        return work();
    } catch (const store::SqliteFailure& failure) {
        error_ = Utf8(store::ErrorFrom(failure).cause);
        return {};
    } catch (const std::exception& failure) {
        error_ = Utf8(store::ErrorOf(StoreFailure::Corrupt, failure.what()).cause);
        return {};
    }
}

std::optional<std::vector<ShopState>> BatchProgress::begin(const std::string& batch,
                                                            const std::vector<std::string>& hosts, BatchStart start)
{
    return guarded([&]() -> std::optional<std::vector<ShopState>> {
        store::WriteTransaction transaction(*db_);
        store::Statement enter = db_->prepare("INSERT OR IGNORE INTO batch_shop(batch, host, stage) VALUES(?, ?, 0)");
        store::Statement reset = db_->prepare(
            "UPDATE batch_shop SET stage = 0, outcome = NULL, run = NULL WHERE batch = ? AND host = ?"
            " AND stage <> 0 AND (? OR outcome <> 0)");
        store::Statement select = db_->prepare(SelectState);
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

std::optional<std::int64_t> BatchProgress::record(const std::string& batch, const CollectionRun& run,
                                                  batch::ShopOutcome outcome)
{
    return guarded([&]() -> std::optional<std::int64_t> {
        store::WriteTransaction transaction(*db_);
        store::Statement select = db_->prepare(SelectState);
        select.bindText(1, batch).bindText(2, run.shopHost);
        // Recorded already (a second attempt at the shop): nothing is added.
        if (const ShopState known = StateOf(select, run.shopHost); known.stage != ShopStage::Pending && known.run)
            return known.run;
        const std::int64_t row = store::RecordRunRows(*db_, run, version_);
        db_->prepare("INSERT OR REPLACE INTO batch_shop(batch, host, stage, outcome, run) VALUES(?, ?, 1, ?, ?)")
            .bindText(1, batch)
            .bindText(2, run.shopHost)
            .bind(3, batch::OutcomeCode(outcome))
            .bind(4, row)
            .run();
        store::Statement number = db_->prepare("SELECT number FROM run WHERE id = ?");
        number.bind(1, row).step();
        const std::int64_t recorded = number.integer(0);
        number.reset();
        transaction.commit();
        return recorded;
    });
}

bool BatchProgress::markDelivered(const std::string& batch, const std::string& host)
{
    return guarded([&] {
        db_->prepare("UPDATE batch_shop SET stage = 2 WHERE batch = ? AND host = ?").bindText(1, batch).bindText(2, host).run();
        return true;
    });
}

std::optional<CollectionRun> BatchProgress::loadRun(const std::string& host, std::int64_t number)
{
    return guarded([&]() -> std::optional<CollectionRun> {
        store::ReadTransaction snapshot(*db_);
        for (const store::StoredRun& stored : store::StoredRuns(*db_, host)) {
            if (stored.summary.number != number)
                continue;
            return store::RunFrom(stored.summary, store::RunProducts(*db_, stored));
        }
        error_ = "run " + std::to_string(number) + " of " + host + " is not in the store";
        return std::nullopt;
    });
}

}  // namespace korvel
