#pragma once

// Ends one piece of work's network waits from any thread: the request in flight stops at once
// (its transfer is woken and aborted, not waited out) and the pauses between requests end early.
// Once cancelled it stays cancelled; a new piece of work takes a new one.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace korvel {

class Cancellation {
public:
    Cancellation() = default;
    Cancellation(const Cancellation&) = delete;
    Cancellation& operator=(const Cancellation&) = delete;

    void cancel();
    bool cancelled() const { return cancelled_.load(std::memory_order_acquire); }

    // Waits for `duration`; false when cancelled before it has passed.
    [[nodiscard]] bool sleepFor(std::chrono::milliseconds duration);

    // A wait that a flag alone cannot end (a transfer blocked in poll) registers how to wake it:
    // cancel() calls `wake(context)` for every attached waiter. detach() returns only when no
    // wake-up of that waiter is under way.
    using Wake = void (*)(void* context);
    void attach(Wake wake, void* context);
    void detach(void* context);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<bool> cancelled_{false};
    struct Waiter {
        Wake wake;
        void* context;
    };
    std::vector<Waiter> waiting_;
};

}  // namespace korvel
