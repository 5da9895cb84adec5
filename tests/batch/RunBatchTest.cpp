#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "LedgerStore.h"
#include "batch/MemoryLedger.h"
#include "batch/RunBatch.h"
#include "batch/ShopBlock.h"
#include "collect/CauseTexts.h"

namespace korvel::batch {
namespace {

namespace fs = std::filesystem;

// Shops whose name says how they end: "blocked…", "failed…", "lost…", "stop…" (Ctrl+C), "expired…"
// (the kept session met a sign-in page until `signedIn`), "down…" (never connected), else complete.
class ScriptedCollector : public ShopCollector {
public:
    CollectedShop collect(const std::string& host) override
    {
        asked.push_back(host);
        CollectedShop shop;
        shop.run.shopHost = host;
        shop.run.pageCount = 1;
        shop.run.end = RunEnd::Complete;
        shop.run.products.append(std::vector<Product>{{"1", "p", "t", "1", "2", "3", "4", 1, 1}});
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
        } else if (host.starts_with("expired") && !signedIn) {
            shop.run.end = RunEnd::Failed;
            shop.run.products.clear();
            shop.sessionExpired = true;
        } else if (host.starts_with("down")) {
            shop.run.end = RunEnd::Failed;
            shop.run.products.clear();
            shop.unreachable = true;
        }
        return shop;
    }
    std::vector<std::string> asked;
    bool signedIn = false;
};

class QuietWatcher : public BatchWatcher {
public:
    void begun(const std::vector<ShopState>&) override {}
    void shopStarted(const std::string&) override {}
    void shopEnded(const std::string& host, ShopOutcome outcome, long long, const std::string& cause) override
    {
        ended.push_back(host + " " + std::string(OutcomeName(outcome)) + (cause.empty() ? "" : " " + cause));
    }
    void endedEarlier(const std::string& host, ShopOutcome outcome, long long,
                      const std::string& cause) override
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
        ledger = std::make_unique<LedgerStore>((folder_ / "korvel.sqlite").string());
    }
    void TearDown() override { fs::remove_all(folder_); }

    int run(std::vector<std::string> hosts, BatchStart start = BatchStart::Continue)
    {
        auto jsonl = JsonLinesFile::Open((folder_ / "out.jsonl").string(), start == BatchStart::Fresh);
        EXPECT_TRUE(jsonl.file) << jsonl.cause;
        BatchPlan plan{"day", std::move(hosts), start, folder_.string(), &*jsonl.file};
        Cancellation cancellation;
        return RunBatch(plan, *ledger, collector, watcher, cancellation).exitStatus;
    }
    std::string jsonl() const
    {
        std::ostringstream bytes;
        bytes << std::ifstream(folder_ / "out.jsonl").rdbuf();
        return bytes.str();
    }

    fs::path folder_;
    std::unique_ptr<LedgerStore> ledger;
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
    EXPECT_EQ(jsonl(), JsonLines(BlockOf(ledger->runs()[0], ShopOutcome::Complete, 1)) +
                           JsonLines(BlockOf(ledger->runs()[1], ShopOutcome::Complete, 1)));
    // Again: nothing is requested, nothing written twice.
    EXPECT_EQ(run({"a.taobao.com", "b.tmall.com"}), batch_exit::AllComplete);
    EXPECT_EQ(collector.asked.size(), 2u);
    EXPECT_EQ(ledger->runs().size(), 2u);
    EXPECT_EQ(jsonl(), JsonLines(BlockOf(ledger->runs()[0], ShopOutcome::Complete, 1)) +
                           JsonLines(BlockOf(ledger->runs()[1], ShopOutcome::Complete, 1)));
}

TEST_F(RunBatchTest, ShopRecordedBeforeAKillIsDeliveredFromTheStore)
{
    ASSERT_EQ(run({"a.taobao.com"}), batch_exit::AllComplete);
    // Killed after b's commit, half-way through its lines.
    CollectionRun b = collector.collect("b.tmall.com").run;
    ASSERT_TRUE(ledger->recordInBatch("day", b, ShopOutcome::Complete).ok());
    std::ofstream(folder_ / "out.jsonl", std::ios::app) << "{\"type\":\"product\",\"shop\":\"b.t";
    collector.asked.clear();
    EXPECT_EQ(run({"a.taobao.com", "b.tmall.com", "c.taobao.com"}), batch_exit::AllComplete);
    EXPECT_EQ(collector.asked, Hosts{"c.taobao.com"});
    EXPECT_TRUE(fs::exists(folder_ / "b.tmall.com.csv"));
    std::string expected;
    for (int i = 0; i < 3; ++i)
        expected += JsonLines(BlockOf(ledger->runs()[i], ShopOutcome::Complete, 1));
    EXPECT_EQ(jsonl(), expected);
}

TEST_F(RunBatchTest, NotCompleteShopsWaitForRetryFailed)
{
    EXPECT_EQ(run({"a.taobao.com", "failed.taobao.com", "lost.tmall.com"}), batch_exit::SomeNotComplete);
    EXPECT_EQ(watcher.ended, (Hosts{"a.taobao.com complete", "failed.taobao.com failed HTTP 429",
                                    "lost.tmall.com incomplete timeout"}));
    // As the single command, a failed shop gets no file; an incomplete one does.
    EXPECT_FALSE(fs::exists(folder_ / "failed.taobao.com.csv"));
    EXPECT_TRUE(fs::exists(folder_ / "lost.tmall.com.csv"));
    watcher.ended.clear();
    EXPECT_EQ(run({"a.taobao.com", "failed.taobao.com", "lost.tmall.com"}), batch_exit::SomeNotComplete);
    EXPECT_EQ(collector.asked.size(), 3u);
    // Nothing collected this time, yet every shop behind the status is named.
    EXPECT_EQ(watcher.ended, (Hosts{"earlier failed.taobao.com failed HTTP 429",
                                    "earlier lost.tmall.com incomplete timeout"}));
    EXPECT_EQ(run({"a.taobao.com", "failed.taobao.com", "lost.tmall.com"}, BatchStart::RetryFailed),
              batch_exit::SomeNotComplete);
    EXPECT_EQ(collector.asked, (Hosts{"a.taobao.com", "failed.taobao.com", "lost.tmall.com",
                                      "failed.taobao.com", "lost.tmall.com"}));
    EXPECT_EQ(run({"a.taobao.com"}, BatchStart::Fresh), batch_exit::AllComplete);
    EXPECT_EQ(collector.asked.back(), "a.taobao.com");
    EXPECT_EQ(jsonl(), JsonLines(BlockOf(ledger->runs().back(), ShopOutcome::Complete, 2)));
}

TEST_F(RunBatchTest, ThreeBlockedInARowStop)
{
    const Hosts hosts = {"blocked1.taobao.com", "failed.taobao.com",   "blocked2.taobao.com",
                         "blocked3.taobao.com", "blocked4.taobao.com", "d.taobao.com"};
    EXPECT_EQ(run(hosts), batch_exit::Blocked);
    EXPECT_EQ(collector.asked.back(), "blocked4.taobao.com");
    // The streak counts within one run of the command: the resume goes on.
    collector.asked.clear();
    EXPECT_EQ(run(hosts), batch_exit::SomeNotComplete);
    EXPECT_EQ(collector.asked, Hosts{"d.taobao.com"});
}

// Every later shop would meet the sign-in page as well: the batch stops at once, the shop is not
// recorded, and after a new sign-in the same command goes on with it.
TEST_F(RunBatchTest, AnExpiredSessionStopsAtOnce)
{
    const Hosts hosts = {"a.taobao.com", "expired.taobao.com", "c.taobao.com"};
    Cancellation cancellation;
    auto jsonl = JsonLinesFile::Open((folder_ / "out.jsonl").string(), false);
    BatchPlan plan{"day", hosts, BatchStart::Continue, folder_.string(), &*jsonl.file};
    const BatchResult stopped = RunBatch(plan, *ledger, collector, watcher, cancellation);
    EXPECT_EQ(stopped.exitStatus, 1);
    EXPECT_EQ(stopped.error, "登录状态已失效，请重新登录");
    EXPECT_EQ(collector.asked, (Hosts{"a.taobao.com", "expired.taobao.com"}));
    EXPECT_EQ(ledger->shop("expired.taobao.com").stage, ShopStage::Pending);
    collector.signedIn = true;
    collector.asked.clear();
    EXPECT_EQ(run(hosts), batch_exit::AllComplete);
    EXPECT_EQ(collector.asked, (Hosts{"expired.taobao.com", "c.taobao.com"}));
}

// Three shops in a row that never connect: the network is gone, not the shops.
TEST_F(RunBatchTest, ThreeUnreachableInARowStop)
{
    const Hosts hosts = {"down1.taobao.com", "down2.taobao.com", "a.taobao.com", "down3.taobao.com",
                         "down4.taobao.com", "down5.taobao.com", "d.taobao.com"};
    EXPECT_EQ(run(hosts), batch_exit::Blocked);
    EXPECT_EQ(collector.asked.back(), "down5.taobao.com");
    collector.asked.clear();
    EXPECT_EQ(run(hosts), batch_exit::SomeNotComplete);
    EXPECT_EQ(collector.asked, Hosts{"d.taobao.com"});
}

TEST_F(RunBatchTest, InterruptedShopIsNotRecorded)
{
    EXPECT_EQ(run({"a.taobao.com", "stop.taobao.com", "c.taobao.com"}), batch_exit::Interrupted);
    EXPECT_EQ(ledger->runs().size(), 1u);
    EXPECT_EQ(ledger->shop("stop.taobao.com").stage, ShopStage::Pending);
    EXPECT_FALSE(fs::exists(folder_ / "stop.taobao.com.csv"));
}

TEST_F(RunBatchTest, StoreFailureStopsBeforeAnyRequest)
{
    ledger->failing = true;
    EXPECT_EQ(run({"a.taobao.com"}), batch_exit::StoreUnreachable);
    EXPECT_TRUE(collector.asked.empty());
}

// --no-store: every shop is collected and delivered, the store is never touched, and the next
// run of the command starts over.
TEST_F(RunBatchTest, WithoutAStoreEveryShopIsDeliveredAndNothingKept)
{
    const Hosts hosts = {"a.taobao.com", "lost.tmall.com"};
    for (int round = 1; round <= 2; ++round) {
        auto jsonl = JsonLinesFile::Open((folder_ / "out.jsonl").string(), true);
        BatchPlan plan{"day", hosts, BatchStart::Continue, folder_.string(), &*jsonl.file};
        Cancellation cancellation;
        MemoryLedger memory;
        EXPECT_EQ(RunBatch(plan, memory, collector, watcher, cancellation).exitStatus,
                  batch_exit::SomeNotComplete);
        EXPECT_EQ(collector.asked.size(), 2u * round);
    }
    EXPECT_TRUE(fs::exists(folder_ / "lost.tmall.com.csv"));
    EXPECT_EQ(jsonl(),
              JsonLines(BlockOf(collector.collect("a.taobao.com").run, ShopOutcome::Complete, 1)) +
                  JsonLines(BlockOf(collector.collect("lost.tmall.com").run, ShopOutcome::Incomplete, 1)));
    EXPECT_TRUE(ledger->runs().empty());
    EXPECT_EQ(ledger->shops().value().size(), 0u);
}

TEST(IsBlockedRun, KnowsTheMarketplacesRefusals)
{
    CollectionRun run;
    run.end = RunEnd::Failed;
    const std::pair<std::string, bool> causes[] = {
        {cause_text::Verification, true},
        {std::string(cause_text::HttpStatusPrefix) + "429" + cause_text::RetriedPrefix + "2" +
             cause_text::RetriedSuffix,
         true},
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

TEST(IsBlockedRun, TellsAnExpiredSessionAndAGoneNetwork)
{
    CollectionRun run;
    run.end = RunEnd::Failed;
    const std::string retried = cause_text::RetriedPrefix + std::string("2") + cause_text::RetriedSuffix;
    const struct {
        std::string cause;
        bool expired;
        bool unreachable;
    } causes[] = {
        {cause_text::SessionExpired, true, false},
        {cause_text::ConnectionRefused + retried, false, true},
        {cause_text::ConnectFailed, false, true},
        {cause_text::UnknownHost, false, true},
        {cause_text::Verification, false, false},
        {std::string(cause_text::HttpStatusPrefix) + "503", false, false},
    };
    for (const auto& c : causes) {
        run.failureCause = c.cause;
        EXPECT_EQ(IsSessionExpiredRun(run), c.expired) << c.cause;
        EXPECT_EQ(IsUnreachableRun(run), c.unreachable) << c.cause;
    }
    // A session that expires on a later page ends the run incomplete, which is no less expired.
    run.end = RunEnd::Incomplete;
    run.failureCause.clear();
    run.lostPages = {{3, cause_text::SessionExpired}};
    EXPECT_TRUE(IsSessionExpiredRun(run));
    EXPECT_FALSE(IsUnreachableRun(run));
}

}  // namespace
}  // namespace korvel::batch
