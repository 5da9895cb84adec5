#include "app/BatchJob.h"

#include <memory>

#include "app/StoreWorker.h"
#include "batch/BatchCollector.h"
#include "batch/RunBatch.h"
#include "session/KeptSession.h"
#include "store/Store.h"
#include "text/Encoding.h"

namespace korvel {
namespace {

using namespace korvel::batch;

QString Utf(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// Counts the shops as they end and tells the window which shop and page the batch is on.
class WindowWatcher : public BatchWatcher {
public:
    explicit WindowWatcher(std::function<void(const QString&)> show) : show_(std::move(show)) {}

    void begun(const std::vector<ShopState>& shops) override
    {
        total_ = int(shops.size());
        for (const ShopState& shop : shops)
            done_ += shop.stage != ShopStage::Pending;
    }
    void shopStarted(const std::string& host) override
    {
        host_ = host;
        page(1, 0);
    }
    void shopEnded(const std::string&, ShopOutcome outcome, long long, const std::string&) override
    {
        ++done_;
        notComplete_ += outcome != ShopOutcome::Complete;
    }
    void endedEarlier(const std::string&, ShopOutcome, long long, const std::string&) override { ++notComplete_; }

    // From the collecting thread, as each page starts; the page count is 0 until page 1 gave it.
    void page(int page, int pages)
    {
        QString text = QStringLiteral("正在采集 %1（第 %2/%3 家）第 %4 页")
                           .arg(Utf(host_)).arg(done_ + 1).arg(total_).arg(page);
        if (pages > 0)
            text += QStringLiteral("，共 %1 页").arg(pages);
        show_(text);
    }

    QString ending(const BatchResult& result) const
    {
        switch (result.exitStatus) {
        case batch_exit::AllComplete: return QStringLiteral("批量采集完成：%1 家店铺全部完整").arg(total_);
        case batch_exit::SomeNotComplete:
            return QStringLiteral("批量采集完成：%1 家店铺中 %2 家未完整").arg(total_).arg(notComplete_);
        case batch_exit::Blocked: return QStringLiteral("连续三家店铺被拦截，批量采集已停止，请稍后继续");
        case batch_exit::Interrupted: return QStringLiteral("批量采集已停止，进度已保存");
        }
        return QStringLiteral("批量采集失败：") + Utf(result.error);
    }

private:
    std::function<void(const QString&)> show_;
    std::string host_;
    int total_ = 0;
    int done_ = 0;
    int notComplete_ = 0;
};

QString StoreFailed(const StoreError& error)
{
    std::string cause = GbkToUtf8(error.cause);
    if (!cause.empty())
        cause.pop_back();  // the converter's closing zero byte
    return QStringLiteral("批量采集失败：") + Utf(cause);
}

// The batch's store calls on the window's one history connection, each waited for on the job's
// thread: a stop ends the wait at once, the call itself ends on the worker.
class WorkerLedger : public BatchLedger {
public:
    WorkerLedger(StoreWorker::Calls calls, const Cancellation& stop) : calls_(std::move(calls)), stop_(stop) {}

    StoreResult<std::vector<ShopState>> beginBatch(const std::string& batch, const std::vector<std::string>& hosts,
                                                   BatchStart start) override
    {
        return calls_.call<std::vector<ShopState>>(
            [batch, hosts, start](Store& store) { return store.beginBatch(batch, hosts, start); }, stop_);
    }
    StoreResult<std::int64_t> recordInBatch(const std::string& batch, const CollectionRun& run,
                                            ShopOutcome outcome) override
    {
        return calls_.call<std::int64_t>(
            [batch, run, outcome](Store& store) { return store.recordInBatch(batch, run, outcome); }, stop_);
    }
    StoreResult<Done> markDelivered(const std::string& batch, const std::string& host) override
    {
        return calls_.call<Done>([batch, host](Store& store) { return store.markDelivered(batch, host); }, stop_);
    }
    StoreResult<CollectionRun> run(const std::string& host, std::int64_t number) override
    {
        return calls_.call<CollectionRun>([host, number](Store& store) { return store.run(host, number); }, stop_);
    }
    StoreResult<std::vector<std::string>> followedShops()
    {
        return calls_.call<std::vector<std::string>>([](Store& store) { return store.followedShops(); }, stop_);
    }

private:
    StoreWorker::Calls calls_;
    const Cancellation& stop_;
};

}  // namespace

std::shared_ptr<Cancellation> StartBatchJob(JobRunner& jobs, const StoreWorker& history, BatchStart start,
                                            BatchJobEvents events)
{
    return jobs.start("批量采集", [calls = history.calls(), start, events = std::move(events)](JobRunner::Context& job) {
        const auto post = [&job](const std::function<void(const QString&)>& event, const QString& text) {
            job.post([event, text] { event(text); });
        };
        Cancellation& stop = job.cancellation();
        WorkerLedger ledger(calls, stop);
        auto hosts = ledger.followedShops();
        if (!hosts.ok())
            return post(events.ended, StoreFailed(hosts.error()));
        WindowWatcher watcher([&](const QString& text) { post(events.progress, text); });
        // Every shop carries the kept marketplace session, as the start button's run does.
        const std::unique_ptr<KeptSession> session = KeptSessionFromStore();
        FetchPolicy policy;
        policy.session = session.get();
        Pace pace(WindowBatchDelay, 1);
        BatchCollector collector(policy, pace, stop, [&watcher](int page, int pages) { watcher.page(page, pages); });
        const BatchPlan plan{WindowBatchId, hosts.value(), start, std::nullopt, nullptr};
        const BatchResult result = RunBatch(plan, ledger, collector, watcher, stop);
        // A stop that cut a store call short is still a stop, its progress kept.
        post(events.ended, watcher.ending(stop.cancelled() ? BatchResult{batch_exit::Interrupted, ""} : result));
    });
}

}  // namespace korvel
