#include <gtest/gtest.h>

#include "StoreTempDir.h"
#include "StoreTestSupport.h"
#include "store/BatchProgress.h"
#include "store/FollowedShops.h"
#include "store/History.h"

namespace korvel {
namespace {

using batch::BatchStart;
using batch::ShopOutcome;
using batch::ShopStage;
using test::Item;
using test::ShopRun;

const std::vector<std::string> Hosts = {"a.taobao.com", "b.tmall.com", "c.taobao.com"};

class BatchProgressTest : public testing::Test {
protected:
    std::unique_ptr<BatchProgress> open()
    {
        auto progress = BatchProgress::Open(dir.file(), "9.9");
        EXPECT_TRUE(progress.ok());
        return progress.ok() ? std::move(progress.value()) : nullptr;
    }
    size_t runsOf(const std::string& host)
    {
        auto history = History::Open(dir.file());
        return history.ok() ? history.value()->runs(host).value().size() : 0;
    }

    test::StoreTempDir dir;
};

TEST_F(BatchProgressTest, ShopsMoveFromPendingToDeliveredAndStay)
{
    auto progress = open();
    ASSERT_TRUE(progress);
    ASSERT_TRUE(progress->begin("day", Hosts, BatchStart::Continue));
    const CollectionRun a = ShopRun({Item("1", "9.90"), Item("2", "5")}, RunEnd::Complete, "a.taobao.com");
    EXPECT_EQ(progress->record("day", a, ShopOutcome::Complete), 1);
    ASSERT_TRUE(progress->markDelivered("day", "a.taobao.com"));
    EXPECT_EQ(progress->record("day", ShopRun({}, RunEnd::Failed, "b.tmall.com"), ShopOutcome::Blocked), 1);
    // A second attempt at a recorded shop adds no run.
    EXPECT_EQ(progress->record("day", a, ShopOutcome::Complete), 1);
    EXPECT_EQ(runsOf("a.taobao.com"), 1u);

    progress = open();
    const auto states = progress->begin("day", Hosts, BatchStart::Continue);
    ASSERT_TRUE(states);
    EXPECT_EQ((*states)[0].stage, ShopStage::Delivered);
    EXPECT_EQ((*states)[0].outcome, ShopOutcome::Complete);
    EXPECT_EQ((*states)[1].stage, ShopStage::Recorded);
    EXPECT_EQ((*states)[1].outcome, ShopOutcome::Blocked);
    EXPECT_EQ((*states)[2].stage, ShopStage::Pending);
    const auto back = progress->loadRun("a.taobao.com", 1);
    ASSERT_TRUE(back) << progress->lastError();
    ASSERT_EQ(back->products.size(), 2u);
    EXPECT_EQ(back->products[1].salePrice, "5");
    EXPECT_EQ(back->end, RunEnd::Complete);
    EXPECT_FALSE(progress->loadRun("a.taobao.com", 2));
}

TEST_F(BatchProgressTest, RetryFailedAndFreshStartShopsOver)
{
    auto progress = open();
    ASSERT_TRUE(progress);
    ASSERT_TRUE(progress->begin("day", Hosts, BatchStart::Continue));
    ASSERT_TRUE(progress->record("day", ShopRun({Item("1", "1")}, RunEnd::Complete, "a.taobao.com"), ShopOutcome::Complete));
    ASSERT_TRUE(progress->record("day", ShopRun({}, RunEnd::Failed, "b.tmall.com"), ShopOutcome::Failed));
    auto states = progress->begin("day", Hosts, BatchStart::RetryFailed);
    EXPECT_EQ((*states)[0].stage, ShopStage::Recorded);
    EXPECT_EQ((*states)[1].stage, ShopStage::Pending);
    EXPECT_EQ(progress->record("day", ShopRun({}, RunEnd::Failed, "b.tmall.com"), ShopOutcome::Failed), 2);
    // Another batch's progress is its own.
    states = progress->begin("other", {"a.taobao.com"}, BatchStart::Continue);
    EXPECT_EQ((*states)[0].stage, ShopStage::Pending);
    states = progress->begin("day", {"a.taobao.com"}, BatchStart::Fresh);
    EXPECT_EQ((*states)[0].stage, ShopStage::Pending);
    EXPECT_EQ(runsOf("a.taobao.com"), 1u);
}

// The window's followed shops: kept in the order added, each once; the unfinished count of its
// batch counts only shops still followed, so removing a shop never leaves an offer that cannot end.
TEST_F(BatchProgressTest, FollowedShopsAndTheirUnfinishedBatch)
{
    auto followed = FollowedShops::Open(dir.file());
    ASSERT_TRUE(followed.ok());
    FollowedShops& shops = *followed.value();
    ASSERT_TRUE(shops.add({"b.tmall.com", "a.taobao.com"}).ok());
    ASSERT_TRUE(shops.add({"c.taobao.com", "b.tmall.com"}).ok());
    EXPECT_EQ(shops.hosts().value(), (std::vector<std::string>{"b.tmall.com", "a.taobao.com", "c.taobao.com"}));
    EXPECT_EQ(shops.pending("window").value(), 0);

    auto progress = open();
    ASSERT_TRUE(progress->begin("window", shops.hosts().value(), BatchStart::Fresh));
    ASSERT_TRUE(progress->record("window", ShopRun({Item("1", "9")}, RunEnd::Complete, "b.tmall.com"),
                                 ShopOutcome::Complete));
    EXPECT_EQ(shops.pending("window").value(), 2);
    EXPECT_EQ(shops.pending("day").value(), 0) << "another batch's shops";
    ASSERT_TRUE(shops.remove("c.taobao.com").ok());
    EXPECT_EQ(shops.pending("window").value(), 1);
    EXPECT_EQ(shops.hosts().value(), (std::vector<std::string>{"b.tmall.com", "a.taobao.com"}));
}

}  // namespace
}  // namespace korvel
