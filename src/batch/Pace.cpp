#include "batch/Pace.h"

#include <algorithm>

#include "web/RetryAfter.h"

namespace korvel::batch {

PaceClock::time_point NextStart(const PaceMarks& marks, std::chrono::milliseconds delay, std::uint64_t shards)
{
    PaceClock::time_point next = marks.notBefore;
    if (marks.lastEnd)
        next = std::max(next, *marks.lastEnd + delay);
    if (marks.lastStart)
        next = std::max(next, *marks.lastStart + delay * static_cast<std::int64_t>(shards));
    return next;
}

bool Pace::awaitTurn(Cancellation& cancellation)
{
    for (;;) {
        PaceClock::time_point next;
        {
            const std::lock_guard lock(mutex_);
            next = NextStart(marks_, delay_, shards_);
            const auto now = PaceClock::now();
            if (next <= now) {
                marks_.lastStart = now;
                return !cancellation.cancelled();
            }
        }
        // Another request may have taken the turn meanwhile: look again after the wait.
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - PaceClock::now());
        if (!cancellation.sleepFor(std::max(wait, std::chrono::milliseconds(1))))
            return false;
    }
}

void Pace::requestEnded()
{
    const std::lock_guard lock(mutex_);
    marks_.lastEnd = PaceClock::now();
}

void Pace::holdOff(std::chrono::milliseconds wait)
{
    const std::lock_guard lock(mutex_);
    marks_.notBefore = std::max(marks_.notBefore, PaceClock::now() + wait);
}

void PacedRequests::after(const HttpOutcome& outcome)
{
    pace_.requestEnded();
    if (const auto wait = RetryAfterOf(outcome, std::chrono::system_clock::now()))
        pace_.holdOff(*wait);
}

}  // namespace korvel::batch
