#pragma once

// The group robots take at most 20 messages a minute each and then refuse the robot for a while
// (DingTalk for ten minutes): a sliding window per robot makes the 21st message wait its turn
// instead. Any thread may reserve a turn.

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace korvel::alerts {

struct PaceLimit {
    int messages = 20;
    std::chrono::milliseconds window{60'000};
};

class Pacer {
public:
    using Clock = std::chrono::steady_clock;

    using Turn = std::uint64_t;
    struct Booking {
        Turn turn = 0;
        std::chrono::milliseconds wait{0};  // how long after `now` the turn comes
    };

    explicit Pacer(PaceLimit limit) : limit_(limit) {}

    // Books the earliest turn at or after `now` that keeps every window within the limit. A booked
    // turn counts even when its message is never sent.
    Booking reserve(Clock::time_point now);

    // The message of `turn` was answered at `now`. The robot counts a message when it arrives,
    // somewhere between its turn and its answer, and a slow first connection can bring it in later
    // than the next ones: the turn counts from the answer on.
    void answered(Turn turn, Clock::time_point now);

private:
    PaceLimit limit_;
    std::mutex mutex_;
    Turn next_ = 0;
    std::vector<std::pair<Clock::time_point, Turn>> turns_;  // within the last window, in time order
};

// The pacer of one robot, shared by every channel that posts to that address for the life of the
// process, so that channels made anew for each alert still keep the robot's pace.
std::shared_ptr<Pacer> PacerFor(const std::string& robotAddress, PaceLimit limit);

}  // namespace korvel::alerts
