#include "web/RetryAfter.h"

#include <curl/curl.h>

#include <algorithm>
#include <charconv>
#include <string>

namespace korvel {
namespace {

using namespace std::chrono;

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// However many digits: anything past the cap is the cap.
seconds DeltaSeconds(std::string_view digits)
{
    unsigned long long count = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    return error == std::errc() && count < static_cast<unsigned long long>(LongestRetryAfter.count()) ? seconds(count)
                                                                                                      : LongestRetryAfter;
}

// libcurl says -1 for what it cannot read; a NUL would cut the text it is handed short.
std::optional<sys_seconds> HttpDate(std::string_view text)
{
    if (text.find('\0') != std::string_view::npos)
        return std::nullopt;
    const time_t date = curl_getdate(std::string(text).c_str(), nullptr);
    if (date == -1)
        return std::nullopt;
    return sys_seconds(seconds(date));
}

}  // namespace

std::optional<seconds> ParseRetryAfter(std::string_view value, system_clock::time_point now)
{
    value = Trimmed(value);
    if (AllDigits(value))
        return DeltaSeconds(value);
    const auto date = HttpDate(value);
    if (!date)
        return std::nullopt;
    return std::clamp(ceil<seconds>(*date - now), seconds(0), LongestRetryAfter);
}

std::optional<seconds> RetryAfterOf(const HttpOutcome& outcome, system_clock::time_point now)
{
    if (outcome.failure != HttpFailure::None || (outcome.status != 429 && outcome.status != 503))
        return std::nullopt;
    return ParseRetryAfter(outcome.retryAfter, now);
}

}  // namespace korvel
