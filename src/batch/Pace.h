#pragma once

// One pace for every request of a batch, whichever shop or retry makes it: --delay from the end
// of one request to the start of the next. A shard of N also starts no two requests less than
// N x delay apart, so N machines together ask the marketplace no faster than one would. A
// Retry-After answer holds every request back until it has passed.

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>

#include "base/Cancellation.h"
#include "collect/PageFetch.h"

namespace korvel::batch {

using PaceClock = std::chrono::steady_clock;

struct PaceMarks {
    std::optional<PaceClock::time_point> lastStart;
    std::optional<PaceClock::time_point> lastEnd;
    PaceClock::time_point notBefore{};  // a Retry-After's end
};

// The earliest moment the next request may start.
PaceClock::time_point NextStart(const PaceMarks& marks, std::chrono::milliseconds delay, std::uint64_t shards);

class Pace {
public:
    Pace(std::chrono::milliseconds delay, std::uint64_t shards) : delay_(delay), shards_(shards) {}

    // Waits for the request's turn and counts it as started; false when cancelled first.
    [[nodiscard]] bool awaitTurn(Cancellation& cancellation);
    void requestEnded();
    void holdOff(std::chrono::milliseconds wait);

private:
    std::mutex mutex_;
    PaceMarks marks_;
    const std::chrono::milliseconds delay_;
    const std::uint64_t shards_;
};

// The pace as every request of a collection meets it, retries included; a 429 or 503 asking to
// wait holds back every later request of the batch.
class PacedRequests : public RequestGate {
public:
    explicit PacedRequests(Pace& pace) : pace_(pace) {}
    bool before(Cancellation& cancel) override { return pace_.awaitTurn(cancel); }
    void after(const HttpOutcome& outcome) override;

private:
    Pace& pace_;
};

}  // namespace korvel::batch
