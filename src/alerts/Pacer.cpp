#include "alerts/Pacer.h"

#include <algorithm>
#include <map>

namespace korvel::alerts {

std::chrono::milliseconds Pacer::reserve(Clock::time_point now)
{
    std::lock_guard lock(mutex_);
    while (!turns_.empty() && turns_.front() <= now - limit_.window)
        turns_.pop_front();
    Clock::time_point turn = now;
    const std::size_t count = static_cast<std::size_t>(std::max(1, limit_.messages));
    if (turns_.size() >= count)
        turn = std::max(now, turns_[turns_.size() - count] + limit_.window);
    turns_.push_back(turn);
    return std::chrono::ceil<std::chrono::milliseconds>(turn - now);
}

std::shared_ptr<Pacer> PacerFor(const std::string& robotAddress, PaceLimit limit)
{
    static std::mutex mutex;
    static std::map<std::string, std::shared_ptr<Pacer>> pacers;
    std::lock_guard lock(mutex);
    std::shared_ptr<Pacer>& pacer = pacers[robotAddress];
    if (!pacer)
        pacer = std::make_shared<Pacer>(limit);
    return pacer;
}

}  // namespace korvel::alerts
