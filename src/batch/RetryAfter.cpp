#include "batch/RetryAfter.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>

namespace korvel::batch {
namespace {

using namespace std::chrono;

constexpr std::array<std::string_view, 12> Months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 7> Days = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr std::array<std::string_view, 7> LongDays = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                      "Friday", "Saturday", "Sunday"};

// Reads the fields of a date from left to right; any mismatch spoils the whole reading.
class Fields {
public:
    explicit Fields(std::string_view text) : rest_(text) {}

    bool ok() const { return ok_ && rest_.empty(); }

    void literal(std::string_view expected)
    {
        ok_ = ok_ && rest_.starts_with(expected);
        rest_.remove_prefix(ok_ ? expected.size() : rest_.size());
    }

    // Exactly `digits` digits; a leading space stands for a zero (asctime's day of the month).
    int number(size_t digits, bool spacePadded = false)
    {
        if (!ok_ || rest_.size() < digits) {
            ok_ = false;
            return 0;
        }
        int value = 0;
        for (size_t i = 0; i < digits; ++i) {
            const char c = rest_[i];
            if (c == ' ' && spacePadded && i == 0)
                continue;
            ok_ = ok_ && c >= '0' && c <= '9';
            value = value * 10 + (c - '0');
        }
        rest_.remove_prefix(digits);
        return value;
    }

    template <size_t Size>
    int oneOf(const std::array<std::string_view, Size>& names)
    {
        for (size_t i = 0; ok_ && i < Size; ++i) {
            if (rest_.starts_with(names[i])) {
                rest_.remove_prefix(names[i].size());
                return static_cast<int>(i) + 1;
            }
        }
        ok_ = false;
        return 0;
    }

    void time(int& hour, int& minute, int& second)
    {
        hour = number(2);
        literal(":");
        minute = number(2);
        literal(":");
        second = number(2);
    }

private:
    std::string_view rest_;
    bool ok_ = true;
};

struct Moment {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

std::optional<sys_seconds> ToTime(const Moment& m, bool ok)
{
    const year_month_day date{year(m.year), month(static_cast<unsigned>(m.month)), day(static_cast<unsigned>(m.day))};
    if (!ok || !date.ok() || m.hour > 23 || m.minute > 59 || m.second > 60)
        return std::nullopt;
    return sys_days(date) + hours(m.hour) + minutes(m.minute) + seconds(m.second);
}

// "Sun, 06 Nov 1994 08:49:37 GMT"
std::optional<sys_seconds> ImfDate(std::string_view text)
{
    Fields f(text);
    Moment m;
    f.oneOf(Days);
    f.literal(", ");
    m.day = f.number(2);
    f.literal(" ");
    m.month = f.oneOf(Months);
    f.literal(" ");
    m.year = f.number(4);
    f.literal(" ");
    f.time(m.hour, m.minute, m.second);
    f.literal(" GMT");
    return ToTime(m, f.ok());
}

// "Sunday, 06-Nov-94 08:49:37 GMT": a two-digit year more than 50 years ahead is in the past.
std::optional<sys_seconds> Rfc850Date(std::string_view text, int thisYear)
{
    Fields f(text);
    Moment m;
    f.oneOf(LongDays);
    f.literal(", ");
    m.day = f.number(2);
    f.literal("-");
    m.month = f.oneOf(Months);
    f.literal("-");
    m.year = thisYear / 100 * 100 + f.number(2);
    if (m.year > thisYear + 50)
        m.year -= 100;
    f.literal(" ");
    f.time(m.hour, m.minute, m.second);
    f.literal(" GMT");
    return ToTime(m, f.ok());
}

// "Sun Nov  6 08:49:37 1994"
std::optional<sys_seconds> AsctimeDate(std::string_view text)
{
    Fields f(text);
    Moment m;
    f.oneOf(Days);
    f.literal(" ");
    m.month = f.oneOf(Months);
    f.literal(" ");
    m.day = f.number(2, true);
    f.literal(" ");
    f.time(m.hour, m.minute, m.second);
    f.literal(" ");
    m.year = f.number(4);
    return ToTime(m, f.ok());
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::optional<seconds> ParseRetryAfter(std::string_view value, system_clock::time_point now)
{
    value = Trimmed(value);
    if (!value.empty() && std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        // However many digits: anything past the cap is the cap.
        unsigned long long count = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
        return error == std::errc() && count < static_cast<unsigned long long>(LongestRetryAfter.count())
                   ? seconds(count)
                   : LongestRetryAfter;
    }
    const int thisYear = static_cast<int>(year_month_day(floor<days>(now)).year());
    auto date = ImfDate(value);
    if (!date)
        date = Rfc850Date(value, thisYear);
    if (!date)
        date = AsctimeDate(value);
    if (!date)
        return std::nullopt;
    const auto wait = ceil<seconds>(*date - now);
    return std::clamp(wait, seconds(0), LongestRetryAfter);
}

std::optional<seconds> RetryAfterOf(const HttpOutcome& outcome, system_clock::time_point now)
{
    if (outcome.failure != HttpFailure::None || (outcome.status != 429 && outcome.status != 503))
        return std::nullopt;
    return ParseRetryAfter(outcome.retryAfter, now);
}

}  // namespace korvel::batch
