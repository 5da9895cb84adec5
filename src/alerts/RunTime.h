#pragma once

// When a run ended, as the people reading an alert read their own clocks.

#include <chrono>
#include <string>

namespace korvel::alerts {

// The offset of this computer's time zone from UTC at that moment (the alert is read where the
// collection runs).
std::chrono::minutes LocalUtcOffset(std::chrono::system_clock::time_point at);

// "2024-05-01 10:30" at that offset from UTC.
std::string ClockText(std::chrono::system_clock::time_point at, std::chrono::minutes utcOffset);

// Seconds or milliseconds since 1970 in decimal, as the robots' signatures take them.
std::string UnixSeconds(std::chrono::system_clock::time_point at);
std::string UnixMilliseconds(std::chrono::system_clock::time_point at);

// "2024-05-01T02:30:00Z", for programs.
std::string UtcText(std::chrono::system_clock::time_point at);

}  // namespace korvel::alerts
