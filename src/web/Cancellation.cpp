#include "web/Cancellation.h"

#include <curl/curl.h>

#include <algorithm>

namespace korvel {

void Cancellation::cancel()
{
    std::lock_guard lock(mutex_);
    cancelled_.store(true, std::memory_order_release);
    for (void* multi : waiting_)
        curl_multi_wakeup(static_cast<CURLM*>(multi));
    changed_.notify_all();
}

bool Cancellation::sleepFor(std::chrono::milliseconds duration)
{
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, duration, [this] { return cancelled(); });
}

void Cancellation::attach(void* multi)
{
    std::lock_guard lock(mutex_);
    waiting_.push_back(multi);
}

void Cancellation::detach(void* multi)
{
    std::lock_guard lock(mutex_);
    waiting_.erase(std::find(waiting_.begin(), waiting_.end(), multi));
}

}  // namespace korvel
