#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "MemoryLedger.h"
#include "batch/RunBatch.h"
#include "batch/ShopBlock.h"
#include "collect/CauseTexts.h"

namespace korvel::batch {
namespace {

namespace fs = std::filesystem;

// Shops whose name says how they end: "blocked…", "failed…", "lost…", "stop…" (Ctrl+C), else complete.
class ScriptedCollector : public ShopCollector {
public:
    CollectedShop collect(const std::string& host) override
    {
        asked.push_back(host);
        CollectedShop shop;
        shop.run.shopHost = host;
        shop.run.pageCount = 1;
        shop.run.end = RunEnd::Complete;
        shop.run.products.push_back({"1", "p", "t", "1", "2", "3", "4", 1, 1});
        if (host.starts_with("blocked") || host.starts_with("failed")) {
            shop.run.end = RunEnd::Failed;
            shop.run.failureCause = "HTTP 429";
            shop.run.products.clear();
            shop.blocked = host.starts_with("blocked");
        } else if (host.starts_with("lost")) {
            shop.run.end = RunEnd::Incomplete;
            shop.run.lostPages = {{2, "timeout"}};
        } else if (host.starts_with("stop")) {
            shop.run.end = RunEnd::Interrupted;
        }
        return shop;
    }
    std::vector<std::string> asked;
};

class QuietWatcher : public BatchWatcher {
public:
    void begun(const std::vector<ShopState>&) override {}
    void shopStarted(const std::string&) override {}
    void shopEnded(const std::string& host, ShopOutcome outcome, long long, const std::string& cause) override
    {
        ended.push_back(host + " " + std::string(OutcomeName(outcome)) + (cause.empty() ? "" : " " + cause));
    }
    void endedEarlier(const std::string& host, ShopOutcome outcome, long long, const std::string& cause) override
    {
        ended.push_back("earlier " + host + " " + std::string(OutcomeName(outcome)) + " " + cause);
    }
    std::vector<std::string> ended;
};

class RunBatchTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "korvel-runbatch-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    int run(std::vector<std::string> hosts, BatchStart start = BatchStart::Continue)
    {
        auto jsonl = JsonLinesFile::Open((folder_ / "out.jsonl").string(), start == BatchStart::Fresh);
        EXPECT_TRUE(jsonl);
        BatchPlan plan{"day", std::move(hosts), start, folder_.string(), &*jsonl};
        Cancellation cancellation;
        return RunBatch(plan, ledger, collector, watcher, cancellation).exitStatus;
    }
    std::string jsonl() const
    {
        std::ostringstream bytes;
        bytes << std::ifstream(folder_ / "out.jsonl").rdbuf();
        return bytes.str();
    }

    fs::path folder_;
    MemoryLedger ledger;
    ScriptedCollector collector;
    QuietWatcher watcher;
};

using Hosts = std::vector<std::string>;

TEST_F(RunBatchTest, CollectsEveryShopOnceAndDeliversIt)
{
    EXPECT_EQ(run({"a.taobao.com", "b.tmall.com"}), batch_exit::AllComplete);
    EXPECT_EQ(collector.asked, (Hosts{"a.taobao.com", "b.tmall.com"}));
    EXPECT_TRUE(fs::exists(folder_ / "a.taobao.com.csv"));
    EXPECT_TRUE(fs::exists(folder_ / "b.tmall.com.csv"));
    EXPECT_EQ(jsonl(), JsonLines(BlockOf(ledger.runs[0], ShopOutcome::Complete, 1)) +
                           JsonLines(BlockOf(ledger.runs[1], ShopOutcome::Complete, 1)));
    // Again: nothing is requested, nothing written twice.
    EXPECT_EQ(run({"a.taobao.com", "b.tmall.com"}), batch_exit::AllComplete);
    EXPECT_EQ(collector.asked.size(), 2u);
    EXPECT_EQ(ledger.runs.size(), 2u);
    EXPECT_EQ(jsonl(), JsonLines(BlockOf(ledger.runs[0], ShopOutcome::Complete, 1)) +
                           JsonLines(BlockOf(ledger.runs[1], ShopOutcome::Complete, 1)));
}

TEST_F(RunBatchTest, ShopRecordedBeforeAKillIsDeliveredFromTheStore)
{
    ASSERT_EQ(run({"a.taobao.com"}), batch_exit::AllComplete);
    // Killed after b's commit, half-way through its lines.
    CollectionRun b = collector.collect("b.tmall.com").run;
    ASSERT_TRUE(ledger.record("day", b, ShopOutcome::Complete));
    std::ofstream(folder_ / "out.jsonl", std::ios::app) << "{\"type\":\"product\",\"shop\":\"b.t";
    collector.asked.clear();
    EXPECT_EQ(run({"a.taobao.com", "b.tmall.com", "c.taobao.com"}), batch_exit::AllComplete);
    EXPECT_EQ(collector.asked, Hosts{"c.taobao.com"});
    EXPECT_TRUE(fs::exists(folder_ / "b.tmall.com.csv"));
    std::string expected;
    for (int i = 0; i < 3; ++i)
        expected += JsonLines(BlockOf(ledger.runs[i], ShopOutcome::Complete, 1));
    EXPECT_EQ(jsonl(), expected);
}

TEST_F(RunBatchTest, NotCompleteShopsWaitForRetryFailed)
{
    EXPECT_EQ(run({"a.taobao.com", "failed.taobao.com", "lost.tmall.com"}), batch_exit::SomeNotComplete);
    EXPECT_EQ(watcher.ended, (Hosts{"a.taobao.com complete", "failed.taobao.com failed HTTP 429",
                                    "lost.tmall.com incomplete timeout"}));
    watcher.ended.clear();
    EXPECT_EQ(run({"a.taobao.com", "failed.taobao.com", "lost.tmall.com"}), batch_exit::SomeNotComplete);
    EXPECT_EQ(collector.asked.size(), 3u);
    // Nothing collected this time, yet every shop behind the status is named.
    EXPECT_EQ(watcher.ended, (Hosts{"earlier failed.taobao.com failed HTTP 429", "earlier lost.tmall.com incomplete timeout"}));
    EXPECT_EQ(run({"a.taobao.com", "failed.taobao.com", "lost.tmall.com"}, BatchStart::RetryFailed),
              batch_exit::SomeNotComplete);
    EXPECT_EQ(collector.asked, (Hosts{"a.taobao.com", "failed.taobao.com", "lost.tmall.com", "failed.taobao.com",
                                      "lost.tmall.com"}));
    EXPECT_EQ(run({"a.taobao.com"}, BatchStart::Fresh), batch_exit::AllComplete);
    EXPECT_EQ(collector.asked.back(), "a.taobao.com");
    EXPECT_EQ(jsonl(), JsonLines(BlockOf(ledger.runs.back(), ShopOutcome::Complete, 2)));
}

TEST_F(RunBatchTest, ThreeBlockedInARowStop)
{
    const Hosts hosts = {"blocked1.taobao.com", "failed.taobao.com", "blocked2.taobao.com", "blocked3.taobao.com",
                         "blocked4.taobao.com", "d.taobao.com"};
    EXPECT_EQ(run(hosts), batch_exit::Blocked);
    EXPECT_EQ(collector.asked.back(), "blocked4.taobao.com");
    // The streak counts within one run of the command: the resume goes on.
    collector.asked.clear();
    EXPECT_EQ(run(hosts), batch_exit::SomeNotComplete);
    EXPECT_EQ(collector.asked, Hosts{"d.taobao.com"});
}

TEST_F(RunBatchTest, InterruptedShopIsNotRecorded)
{
    EXPECT_EQ(run({"a.taobao.com", "stop.taobao.com", "c.taobao.com"}), batch_exit::Interrupted);
    EXPECT_EQ(ledger.runs.size(), 1u);
    EXPECT_EQ(ledger.shops["stop.taobao.com"].stage, ShopStage::Pending);
    EXPECT_FALSE(fs::exists(folder_ / "stop.taobao.com.csv"));
}

TEST_F(RunBatchTest, StoreFailureStopsBeforeAnyRequest)
{
    ledger.failing = true;
    EXPECT_EQ(run({"a.taobao.com"}), batch_exit::StoreUnreachable);
    EXPECT_TRUE(collector.asked.empty());
}

TEST(IsBlockedRun, KnowsTheMarketplacesRefusals)
{
    CollectionRun run;
    run.end = RunEnd::Failed;
    const std::pair<std::string, bool> causes[] = {
        {cause_text::Verification, true},
        {std::string(cause_text::HttpStatusPrefix) + "429" + cause_text::RetriedPrefix + "2" + cause_text::RetriedSuffix, true},
        {std::string(cause_text::HttpStatusPrefix) + "403", false},
        {cause_text::ConnectionRefused, false},
        {"", false},
    };
    for (const auto& [cause, blocked] : causes) {
        run.failureCause = cause;
        EXPECT_EQ(IsBlockedRun(run), blocked) << cause;
    }
    run.failureCause = cause_text::Verification;
    run.end = RunEnd::Incomplete;
    EXPECT_FALSE(IsBlockedRun(run));
}

}  // namespace
}  // namespace korvel::batch
