#include <gtest/gtest.h>

#include "web/RetryAfter.h"

namespace korvel {
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
    {"before_1970", "Sun, 07 Dec 1969 12:00:45 GMT", seconds(0)},
    {"rfc850_date", "Monday, 07-Dec-26 12:01:00 GMT", seconds(60)},
    {"asctime_date", "Mon Dec  7 12:00:10 2026", seconds(10)},
    // libcurl reads a zone it knows, and a date without one as GMT.
    {"other_zone", "Mon, 07 Dec 2026 13:00:45 CET", seconds(45)},
    {"no_zone", "Mon, 07 Dec 2026 12:00:45", seconds(45)},
    {"negative", "-5", std::nullopt},
    {"fraction", "1.5", std::nullopt},
    {"empty", "", std::nullopt},
    {"words", "soon", std::nullopt},
    {"unknown_zone", "Mon, 07 Dec 2026 12:00:45 XYZ", std::nullopt},
    {"bad_month", "Mon, 07 Foo 2026 12:00:45 GMT", std::nullopt},
    {"bad_day", "Mon, 32 Dec 2026 12:00:45 GMT", std::nullopt},
    {"bad_hour", "Mon, 07 Dec 2026 24:00:45 GMT", std::nullopt},
    {"no_time_of_day", "Dec 2026", std::nullopt},
    {"nul_inside", std::string("Mon, 07 Dec 2026 12:00:45 GMT\0x", 31), std::nullopt},
};

INSTANTIATE_TEST_SUITE_P(Web, RetryAfters, testing::ValuesIn(RetryAfterCases),
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

}  // namespace
}  // namespace korvel
