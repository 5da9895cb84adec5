#include <gtest/gtest.h>

#include "batch/Pace.h"

namespace korvel::batch {
namespace {

using namespace std::chrono;

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
