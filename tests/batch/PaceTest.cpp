#include <gtest/gtest.h>

#include "batch/Pace.h"
#include "batch/RetryAfter.h"

namespace korvel::batch {
namespace {

using namespace std::chrono;

struct RetryAfterCase {
    const char* name;
    std::string value;
    std::optional<seconds> wait;
};

// 2026-12-07 12:00:00 UTC, a Monday.
const sys_seconds Now = sys_days(year(2026) / December / 7) + hours(12);

class RetryAfters : public testing::TestWithParam<RetryAfterCase> {};

TEST_P(RetryAfters, WaitAtMostTwoMinutes)
{
    const RetryAfterCase& c = GetParam();
    EXPECT_EQ(ParseRetryAfter(c.value, Now), c.wait);
}

const RetryAfterCase RetryAfterCases[] = {
    {"seconds", "30", seconds(30)},
    {"zero", "0", seconds(0)},
    {"spaces", " \t7 ", seconds(7)},
    {"cap", "121", seconds(120)},
    {"huge", "99999999999999999999999", seconds(120)},
    {"imf_date", "Mon, 07 Dec 2026 12:00:45 GMT", seconds(45)},
    {"imf_date_past", "Mon, 07 Dec 2026 11:00:00 GMT", seconds(0)},
    {"imf_date_far", "Tue, 08 Dec 2026 12:00:00 GMT", seconds(120)},
    {"rfc850_date", "Monday, 07-Dec-26 12:01:00 GMT", seconds(60)},
    {"asctime_date", "Mon Dec  7 12:00:10 2026", seconds(10)},
    {"negative", "-5", std::nullopt},
    {"fraction", "1.5", std::nullopt},
    {"empty", "", std::nullopt},
    {"words", "soon", std::nullopt},
    {"no_zone", "Mon, 07 Dec 2026 12:00:45", std::nullopt},
    {"other_zone", "Mon, 07 Dec 2026 12:00:45 CET", std::nullopt},
    {"bad_month", "Mon, 07 Foo 2026 12:00:45 GMT", std::nullopt},
    {"bad_day", "Mon, 31 Nov 2026 12:00:45 GMT", std::nullopt},
    {"bad_hour", "Mon, 07 Dec 2026 24:00:45 GMT", std::nullopt},
    {"trailing", "Mon, 07 Dec 2026 12:00:45 GMT x", std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Batch, RetryAfters, testing::ValuesIn(RetryAfterCases),
                         [](const auto& tested) { return std::string(tested.param.name); });

struct PaceCase {
    const char* name;
    std::optional<int> lastStart, lastEnd;  // milliseconds from a common origin
    int notBefore;
    int delay;
    std::uint64_t shards;
    int next;
};

class PaceTurns : public testing::TestWithParam<PaceCase> {};

TEST_P(PaceTurns, KeepBothGaps)
{
    const PaceCase& c = GetParam();
    const PaceClock::time_point origin = PaceClock::time_point() + hours(1);
    const auto at = [&](int ms) { return origin + milliseconds(ms); };
    PaceMarks marks;
    if (c.lastStart)
        marks.lastStart = at(*c.lastStart);
    if (c.lastEnd)
        marks.lastEnd = at(*c.lastEnd);
    marks.notBefore = at(c.notBefore);
    EXPECT_EQ(NextStart(marks, milliseconds(c.delay), c.shards), at(c.next));
}

const PaceCase PaceCases[] = {
    {"first_request", std::nullopt, std::nullopt, 0, 1000, 1, 0},
    {"from_the_end", 0, 300, 0, 1000, 1, 1300},
    {"slow_request", 0, 5000, 0, 1000, 1, 6000},
    {"no_delay", 0, 300, 0, 0, 4, 300},
    // Four shards: starts 4 s apart, however quick the answer.
    {"shard_of_four", 0, 300, 0, 1000, 4, 4000},
    {"shard_slow_request", 0, 3500, 0, 1000, 4, 4500},
    {"retry_after", 0, 300, 30000, 1000, 1, 30000},
    {"retry_after_passed", 0, 300, 100, 1000, 1, 1300},
};

INSTANTIATE_TEST_SUITE_P(Batch, PaceTurns, testing::ValuesIn(PaceCases),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST(RetryAfterOf, OnlyTooManyRequestsAndUnavailable)
{
    HttpOutcome outcome;
    outcome.retryAfter = "30";
    const std::pair<int, std::optional<seconds>> statuses[] = {
        {429, seconds(30)}, {503, seconds(30)}, {500, std::nullopt}, {200, std::nullopt}, {301, std::nullopt}};
    for (const auto& [status, wait] : statuses) {
        outcome.status = status;
        EXPECT_EQ(RetryAfterOf(outcome, Now), wait) << status;
    }
    outcome.status = 429;
    outcome.failure = HttpFailure::IncompleteBody;
    EXPECT_EQ(RetryAfterOf(outcome, Now), std::nullopt);
}

TEST(Pace, CancellingEndsTheWait)
{
    Pace pace(milliseconds(3600000), 1);
    Cancellation cancellation;
    ASSERT_TRUE(pace.awaitTurn(cancellation));
    pace.requestEnded();
    cancellation.cancel();
    EXPECT_FALSE(pace.awaitTurn(cancellation));
}

}  // namespace
}  // namespace korvel::batch
