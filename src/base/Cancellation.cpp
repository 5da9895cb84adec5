#include "base/Cancellation.h"

#include <algorithm>

namespace korvel {

void Cancellation::cancel()
{
    std::lock_guard lock(mutex_);
    cancelled_.store(true, std::memory_order_release);
    for (const Waiter& waiter : waiting_)
        waiter.wake(waiter.context);
    changed_.notify_all();
}

bool Cancellation::sleepFor(std::chrono::milliseconds duration)
{
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, duration, [this] { return cancelled(); });
}

void Cancellation::attach(Wake wake, void* context)
{
    std::lock_guard lock(mutex_);
    waiting_.push_back({wake, context});
}

void Cancellation::detach(void* context)
{
    std::lock_guard lock(mutex_);
    waiting_.erase(std::find_if(waiting_.begin(), waiting_.end(),
                                [context](const Waiter& waiter) { return waiter.context == context; }));
}

}  // namespace korvel
