#pragma once

// The group robots take at most 20 messages a minute each and then refuse the robot for a while
// (DingTalk for ten minutes): a sliding window per robot makes the 21st message wait its turn
// instead. Any thread may reserve a turn.

#include <chrono>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

namespace korvel::alerts {

struct PaceLimit {
    int messages = 20;
    std::chrono::milliseconds window{60'000};
};

class Pacer {
public:
    using Clock = std::chrono::steady_clock;

    explicit Pacer(PaceLimit limit) : limit_(limit) {}

    // Books the earliest turn at or after `now` that keeps every window within the limit and says
    // how long after `now` it is. A booked turn counts even when its message is never sent.
    std::chrono::milliseconds reserve(Clock::time_point now);

private:
    PaceLimit limit_;
    std::mutex mutex_;
    std::deque<Clock::time_point> turns_;  // booked turns within the last window, oldest first
};

// The pacer of one robot, shared by every channel that posts to that address for the life of the
// process, so that channels made anew for each alert still keep the robot's pace.
std::shared_ptr<Pacer> PacerFor(const std::string& robotAddress, PaceLimit limit);

}  // namespace korvel::alerts
