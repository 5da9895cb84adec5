#include "alerts/RunTime.h"

#include <ctime>

namespace korvel::alerts {

std::chrono::minutes LocalUtcOffset(std::chrono::system_clock::time_point at)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(at);
    std::tm local{};
    localtime_r(&seconds, &local);
    return std::chrono::duration_cast<std::chrono::minutes>(std::chrono::seconds(local.tm_gmtoff));
}

namespace {

std::string Formatted(std::chrono::system_clock::time_point at, const char* format)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(at);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, format, &utc);
    return text;
}

}  // namespace

std::string ClockText(std::chrono::system_clock::time_point at, std::chrono::minutes utcOffset)
{
    return Formatted(at + utcOffset, "%Y-%m-%d %H:%M");
}

std::string UnixSeconds(std::chrono::system_clock::time_point at)
{
    return std::to_string(std::chrono::duration_cast<std::chrono::seconds>(at.time_since_epoch()).count());
}

std::string UnixMilliseconds(std::chrono::system_clock::time_point at)
{
    return std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(at.time_since_epoch()).count());
}

std::string UtcText(std::chrono::system_clock::time_point at)
{
    return Formatted(at, "%Y-%m-%dT%H:%M:%SZ");
}

}  // namespace korvel::alerts
