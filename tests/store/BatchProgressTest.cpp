#include <gtest/gtest.h>

#include "StoreTempDir.h"
#include "StoreTestSupport.h"

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
    std::unique_ptr<Store> open() { return test::OpenAt(dir.file(), "9.9"); }
    size_t runsOf(const std::string& host) { return test::OpenAt(dir.file())->runs(host).value().size(); }

    test::StoreTempDir dir;
};

TEST_F(BatchProgressTest, ShopsMoveFromPendingToDeliveredAndStay)
{
    auto progress = open();
    ASSERT_TRUE(progress);
    ASSERT_TRUE(progress->beginBatch("day", Hosts, BatchStart::Continue).ok());
    const CollectionRun a = ShopRun({Item("1", "9.90"), Item("2", "5")}, RunEnd::Complete, "a.taobao.com");
    EXPECT_EQ(progress->recordInBatch("day", a, ShopOutcome::Complete).value(), 1);
    ASSERT_TRUE(progress->markDelivered("day", "a.taobao.com").ok());
    EXPECT_EQ(progress->recordInBatch("day", ShopRun({}, RunEnd::Failed, "b.tmall.com"), ShopOutcome::Blocked)
                  .value(),
              1);
    // A second attempt at a recorded shop adds no run.
    EXPECT_EQ(progress->recordInBatch("day", a, ShopOutcome::Complete).value(), 1);
    EXPECT_EQ(runsOf("a.taobao.com"), 1u);

    progress = open();
    const auto states = progress->beginBatch("day", Hosts, BatchStart::Continue);
    ASSERT_TRUE(states.ok());
    EXPECT_EQ(states.value()[0].stage, ShopStage::Delivered);
    EXPECT_EQ(states.value()[0].outcome, ShopOutcome::Complete);
    EXPECT_EQ(states.value()[1].stage, ShopStage::Recorded);
    EXPECT_EQ(states.value()[1].outcome, ShopOutcome::Blocked);
    EXPECT_EQ(states.value()[2].stage, ShopStage::Pending);
    const auto back = progress->run("a.taobao.com", 1);
    ASSERT_TRUE(back.ok()) << back.error().cause;
    ASSERT_EQ(back.value().products.size(), 2u);
    EXPECT_EQ(back.value().products[1].salePrice, "5");
    EXPECT_EQ(back.value().end, RunEnd::Complete);
    EXPECT_FALSE(progress->run("a.taobao.com", 2).ok());
}

TEST_F(BatchProgressTest, RetryFailedAndFreshStartShopsOver)
{
    auto progress = open();
    ASSERT_TRUE(progress);
    ASSERT_TRUE(progress->beginBatch("day", Hosts, BatchStart::Continue).ok());
    ASSERT_TRUE(progress
                    ->recordInBatch("day", ShopRun({Item("1", "1")}, RunEnd::Complete, "a.taobao.com"),
                                    ShopOutcome::Complete)
                    .ok());
    ASSERT_TRUE(
        progress->recordInBatch("day", ShopRun({}, RunEnd::Failed, "b.tmall.com"), ShopOutcome::Failed).ok());
    auto states = progress->beginBatch("day", Hosts, BatchStart::RetryFailed);
    EXPECT_EQ(states.value()[0].stage, ShopStage::Recorded);
    EXPECT_EQ(states.value()[1].stage, ShopStage::Pending);
    EXPECT_EQ(progress->recordInBatch("day", ShopRun({}, RunEnd::Failed, "b.tmall.com"), ShopOutcome::Failed)
                  .value(),
              2);
    // Another batch's progress is its own.
    states = progress->beginBatch("other", {"a.taobao.com"}, BatchStart::Continue);
    EXPECT_EQ(states.value()[0].stage, ShopStage::Pending);
    states = progress->beginBatch("day", {"a.taobao.com"}, BatchStart::Fresh);
    EXPECT_EQ(states.value()[0].stage, ShopStage::Pending);
    EXPECT_EQ(runsOf("a.taobao.com"), 1u);
}

// The window's followed shops: kept in the order added, each once; the unfinished count of its
// batch counts only shops still followed, so removing a shop never leaves an offer that cannot end.
TEST_F(BatchProgressTest, FollowedShopsAndTheirUnfinishedBatch)
{
    auto followed = test::OpenAt(dir.file());
    Store& shops = *followed;
    ASSERT_TRUE(shops.follow({"b.tmall.com", "a.taobao.com"}).ok());
    ASSERT_TRUE(shops.follow({"c.taobao.com", "b.tmall.com"}).ok());
    EXPECT_EQ(shops.followedShops().value(),
              (std::vector<std::string>{"b.tmall.com", "a.taobao.com", "c.taobao.com"}));
    EXPECT_EQ(shops.pendingFollowed("window").value(), 0);

    auto progress = open();
    ASSERT_TRUE(progress->beginBatch("window", shops.followedShops().value(), BatchStart::Fresh).ok());
    ASSERT_TRUE(progress
                    ->recordInBatch("window", ShopRun({Item("1", "9")}, RunEnd::Complete, "b.tmall.com"),
                                    ShopOutcome::Complete)
                    .ok());
    EXPECT_EQ(shops.pendingFollowed("window").value(), 2);
    EXPECT_EQ(shops.pendingFollowed("day").value(), 0) << "another batch's shops";
    ASSERT_TRUE(shops.unfollow("c.taobao.com").ok());
    EXPECT_EQ(shops.pendingFollowed("window").value(), 1);
    EXPECT_EQ(shops.followedShops().value(), (std::vector<std::string>{"b.tmall.com", "a.taobao.com"}));
}

}  // namespace
}  // namespace korvel
