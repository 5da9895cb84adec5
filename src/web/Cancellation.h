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

    // The HTTP client's part: while a transfer waits on `multi` (a CURLM handle), cancel() wakes
    // it. detach() returns only when no wake-up of that handle is under way.
    void attach(void* multi);
    void detach(void* multi);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<bool> cancelled_{false};
    std::vector<void*> waiting_;
};

}  // namespace korvel
