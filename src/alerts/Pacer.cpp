#include "alerts/Pacer.h"

#include <algorithm>
#include <map>
#include <vector>

namespace korvel::alerts {

Pacer::Booking Pacer::reserve(Clock::time_point now)
{
    std::lock_guard lock(mutex_);
    std::erase_if(turns_, [&](const auto& turn) { return turn.first <= now - limit_.window; });
    Clock::time_point at = now;
    const std::size_t count = static_cast<std::size_t>(std::max(1, limit_.messages));
    if (turns_.size() >= count)
        at = std::max(now, turns_[turns_.size() - count].first + limit_.window);
    turns_.emplace_back(at, ++next_);
    std::sort(turns_.begin(), turns_.end());
    return {next_, std::chrono::ceil<std::chrono::milliseconds>(at - now)};
}

void Pacer::answered(Turn turn, Clock::time_point now)
{
    std::lock_guard lock(mutex_);
    for (auto& booked : turns_) {
        if (booked.second == turn)
            booked.first = std::max(booked.first, now);
    }
    std::sort(turns_.begin(), turns_.end());
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
