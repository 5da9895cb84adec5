#pragma once

// Sending with the robot's pace and with bounded retries after rate-limit answers. Every wait
// ends early when the work is cancelled.

#include <chrono>
#include <functional>

#include "alerts/Delivery.h"
#include "alerts/Pacer.h"
#include "base/Cancellation.h"

namespace korvel::alerts {

struct RetryPolicy {
    int retries = 2;  // further tries after a rate-limit answer
    // A server that asks for longer is not waited for here: the send ends RateLimited with its
    // wait, for the caller to try again later.
    std::chrono::milliseconds longestWait{60'000};
    // The wait after a rate-limit answer that names none: the robots' window.
    std::chrono::milliseconds unnamedWait{60'000};
};

// Runs `attempt` after its turn from `pacer` (none: no pacing), again after each RateLimited
// answer while the policy allows. `who` names the channel and host of a cancellation.
Delivery DeliverWithRetries(const std::function<Delivery()>& attempt, Pacer* pacer, const RetryPolicy& policy,
                            const DeliveryCause& who, Cancellation& cancel);

}  // namespace korvel::alerts
