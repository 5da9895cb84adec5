#pragma once

// How long a 429 or 503 answer asks to wait before the retry: Retry-After as seconds or as an
// HTTP date, in any of the forms libcurl reads (IMF-fixdate, RFC 850, asctime).

#include <chrono>
#include <optional>
#include <string_view>

#include "web/HttpOutcome.h"

namespace korvel {

// No marketplace answer holds a batch up for longer than this.
inline constexpr std::chrono::seconds LongestRetryAfter{120};

// The wait, at most LongestRetryAfter; zero for a date already past; nothing when the value is
// neither form (the usual retry pause applies then).
std::optional<std::chrono::seconds> ParseRetryAfter(std::string_view value, std::chrono::system_clock::time_point now);

// The wait a response asks for: only a 429 or 503 with a Retry-After the parser reads.
std::optional<std::chrono::seconds> RetryAfterOf(const HttpOutcome& outcome, std::chrono::system_clock::time_point now);

}  // namespace korvel
