#include "batch/RunBatch.h"

#include <algorithm>

#include "batch/ShopBlock.h"
#include "batch/ShopFiles.h"
#include "text/Encoding.h"

namespace korvel::batch {
namespace {

// The batch's messages are UTF-8; the store's causes are GBK.
std::string Utf8Cause(const StoreError& error)
{
    std::string utf8 = GbkToUtf8(error.cause);
    if (!utf8.empty())
        utf8.pop_back();  // the converter's closing zero byte
    return utf8;
}

// A store that fails mid-batch is worth another try later (exit 1); a file that cannot be
// written needs the operator (exit 3).
BatchResult StoreFailed(const StoreError& error)
{
    return {batch_exit::StoreUnreachable, "the store failed: " + Utf8Cause(error)};
}

class Batch {
public:
    Batch(const BatchPlan& plan, BatchLedger& store, BatchWatcher& watcher)
        : plan_(plan), store_(store), watcher_(watcher)
    {
    }

    // Writes the shop's files and marks it delivered; an error text when it could not.
    std::string deliver(ShopState& shop, const CollectionRun& run)
    {
        // As the single command writes no file for a failed run, a failed shop gets no CSV.
        if (plan_.csvFolder && run.end != RunEnd::Failed) {
            if (const PlacedFile placed = PlaceShopCsv(*plan_.csvFolder, run); !placed)
                return "cannot write " + ShopCsvPath(*plan_.csvFolder, shop.host) + ": " + placed.cause;
        }
        JsonLinesFile* jsonl = plan_.jsonLines;
        const ShopRun key(shop.host, shop.run);
        if (jsonl && !jsonl->runsPresent().contains(key) &&
            !jsonl->append(JsonLines(BlockOf(run, *shop.outcome, shop.run)), key))
            return "cannot write the JSON Lines";
        if (const StoreResult<Done> marked = store_.markDelivered(plan_.id, shop.host); !marked.ok())
            return "the store failed: " + Utf8Cause(marked.error());
        shop.stage = ShopStage::Delivered;
        return "";
    }

    // Shops recorded before a kill but not delivered: their runs are read back.
    std::optional<BatchResult> deliverRecorded(std::vector<ShopState>& shops)
    {
        for (ShopState& shop : shops) {
            if (shop.stage != ShopStage::Recorded)
                continue;
            const StoreResult<CollectionRun> run = store_.run(shop.host, shop.run);
            if (!run.ok())
                return StoreFailed(run.error());
            if (std::string error = deliver(shop, run.value()); !error.empty())
                return BatchResult{batch_exit::CannotWrite, error};
        }
        return std::nullopt;
    }

    // Collects, records and delivers one shop; a result when the batch must stop.
    std::optional<BatchResult> collect(ShopState& shop, ShopCollector& collector, BlockedStreak& streak)
    {
        watcher_.shopStarted(shop.host);
        const CollectedShop collected = collector.collect(shop.host);
        if (collected.run.end == RunEnd::Interrupted)
            return BatchResult{batch_exit::Interrupted, ""};
        // Every later shop would meet the sign-in page too. The shop is not recorded, so the same
        // command after a new sign-in collects it first.
        if (collected.sessionExpired)
            return BatchResult{batch_exit::SessionExpired, "登录状态已失效，请重新登录"};
        unreachable_ = collected.unreachable ? unreachable_ + 1 : 0;
        const ShopOutcome outcome = OutcomeOf(collected);
        const StoreResult<std::int64_t> run = store_.recordInBatch(plan_.id, collected.run, outcome);
        if (!run.ok())
            return StoreFailed(run.error());
        shop.stage = ShopStage::Recorded;
        shop.outcome = outcome;
        shop.run = run.value();
        if (std::string error = deliver(shop, collected.run); !error.empty())
            return BatchResult{batch_exit::CannotWrite, error};
        const ShopBlock block = BlockOf(collected.run, outcome, run.value());
        watcher_.shopEnded(shop.host, outcome, static_cast<long long>(collected.run.products.size()),
                           block.cause.value_or(""));
        if (streak.add(outcome))
            return BatchResult{batch_exit::Blocked, "blocked by the marketplace; resume later"};
        // The network is gone rather than the shops: the rest would each wait out its connection
        // and be recorded failed.
        if (unreachable_ >= UnreachableLimit)
            return BatchResult{batch_exit::Blocked, "three shops in a row could not be reached: the network is "
                                                    "down; resume later (--retry-failed collects them again)"};
        return std::nullopt;
    }

private:
    static constexpr int UnreachableLimit = 3;
    int unreachable_ = 0;
    const BatchPlan& plan_;
    BatchLedger& store_;
    BatchWatcher& watcher_;
};

}  // namespace

ShopOutcome OutcomeOf(const CollectedShop& shop)
{
    if (shop.blocked)
        return ShopOutcome::Blocked;
    switch (shop.run.end) {
        case RunEnd::Complete:
            return ShopOutcome::Complete;
        case RunEnd::Incomplete:
            return ShopOutcome::Incomplete;
        case RunEnd::Failed:
        case RunEnd::Interrupted:
            break;
    }
    return ShopOutcome::Failed;
}

BatchResult RunBatch(const BatchPlan& plan, BatchLedger& store, ShopCollector& collector, BatchWatcher& watcher,
                     const Cancellation& cancellation)
{
    auto begun = store.beginBatch(plan.id, plan.hosts, plan.start);
    if (!begun.ok())
        return StoreFailed(begun.error());
    std::vector<ShopState>* shops = &begun.value();
    if (plan.csvFolder)
        RemoveLeftovers(*plan.csvFolder, plan.hosts);
    Batch batch(plan, store, watcher);
    if (auto stopped = batch.deliverRecorded(*shops))
        return *stopped;
    watcher.begun(*shops);
    BlockedStreak streak;
    std::vector<bool> earlier;
    for (const ShopState& shop : *shops)
        earlier.push_back(shop.stage != ShopStage::Pending);
    for (ShopState& shop : *shops) {
        if (shop.stage != ShopStage::Pending)
            continue;
        if (cancellation.cancelled())
            return {batch_exit::Interrupted, ""};
        if (auto stopped = batch.collect(shop, collector, streak))
            return *stopped;
    }
    for (size_t i = 0; i < shops->size(); ++i) {
        const ShopState& shop = (*shops)[i];
        if (!earlier[i] || shop.outcome == ShopOutcome::Complete)
            continue;
        const StoreResult<CollectionRun> run = store.run(shop.host, shop.run);
        if (!run.ok())
            return StoreFailed(run.error());
        watcher.endedEarlier(shop.host, *shop.outcome, static_cast<long long>(run.value().products.size()),
                             BlockOf(run.value(), *shop.outcome, shop.run).cause.value_or(""));
    }
    const bool allComplete = std::all_of(shops->begin(), shops->end(),
                                         [](const ShopState& s) { return s.outcome == ShopOutcome::Complete; });
    return {BatchExitStatus(BatchEnd::Finished, allComplete), ""};
}

}  // namespace korvel::batch
