#include <gtest/gtest.h>

#include "batch/ProgressText.h"

namespace korvel::batch {
namespace {

using std::chrono::seconds;

TEST(ProgressLine, ShowsDoneCurrentAndEstimate)
{
    BatchTally p;
    p.total = 200;
    p.done = 12;
    p.notComplete = 1;
    p.doneThisRun = 10;
    p.products = 3456;
    p.shop = "shop1.taobao.com";
    p.page = 3;
    p.pages = 5;
    p.elapsed = seconds(100);
    EXPECT_EQ(ProgressLine(p),
              "12/200 shops, 1 not complete, 3456 products | shop1.taobao.com page 3/5 | 0:01:40, about 0:31:20 left");
    p.pages = 0;
    p.doneThisRun = 0;
    EXPECT_EQ(ProgressLine(p), "12/200 shops, 1 not complete, 3456 products | shop1.taobao.com page 3 | 0:01:40");
    p.shop.clear();
    p.done = 200;
    p.elapsed = seconds(3 * 3600 + 7);
    EXPECT_EQ(ProgressLine(p), "200/200 shops, 1 not complete, 3456 products | 3:00:07");
}

TEST(ShopLine, OneLineWhateverTheCause)
{
    EXPECT_EQ(ShopLine("a.tmall.com", ShopOutcome::Complete, 120, ""), "a.tmall.com: complete, 120 products");
    EXPECT_EQ(ShopLine("a.tmall.com", ShopOutcome::Incomplete, 80, "page 2: x\r\npage 4: y"),
              "a.tmall.com: incomplete, 80 products: page 2: x; page 4: y");
}

TEST(BatchExitStatus, FollowsTheContract)
{
    EXPECT_EQ(BatchExitStatus(BatchEnd::Finished, true), 0);
    EXPECT_EQ(BatchExitStatus(BatchEnd::Finished, false), 4);
    EXPECT_EQ(BatchExitStatus(BatchEnd::StoppedBlocked, false), 5);
    EXPECT_EQ(BatchExitStatus(BatchEnd::Interrupted, true), 130);
}

TEST(BlockedStreak, StopsAtTheThirdBlockedShopInARow)
{
    BlockedStreak streak;
    using enum ShopOutcome;
    const ShopOutcome outcomes[] = {Blocked, Blocked, Failed, Blocked, Complete, Blocked, Blocked};
    for (const ShopOutcome outcome : outcomes)
        EXPECT_FALSE(streak.add(outcome));
    EXPECT_TRUE(streak.add(Blocked));
}

TEST(OutcomeNamed, ReadsWhatOutcomeNameWrites)
{
    for (const auto outcome : {ShopOutcome::Complete, ShopOutcome::Incomplete, ShopOutcome::Failed, ShopOutcome::Blocked})
        EXPECT_EQ(OutcomeNamed(OutcomeName(outcome)), outcome);
    EXPECT_EQ(OutcomeNamed("Complete"), std::nullopt);
}

}  // namespace
}  // namespace korvel::batch
