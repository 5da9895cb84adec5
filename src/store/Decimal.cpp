#include "store/Decimal.h"

#include <algorithm>

namespace korvel {
namespace {

// GCC's 128-bit integer: an 18-digit price times 10^4 does not fit 64 bits.
__extension__ using Wide = __int128;

constexpr int MaxDigits = 18;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view TrimAscii(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

Wide PowerOfTen(int exponent)
{
    Wide result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}

Wide Scaled(const Decimal& value, int scale)
{
    return Wide(value.units) * PowerOfTen(scale - value.scale);
}

std::string Digits(Wide magnitude)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return digits;
}

std::string FixedText(Wide units, int scale)
{
    const bool negative = units < 0;
    std::string digits = Digits(negative ? -units : units);
    if (scale > 0) {
        if (digits.size() <= size_t(scale))
            digits.insert(0, size_t(scale) + 1 - digits.size(), '0');
        digits.insert(digits.size() - size_t(scale), ".");
    }
    return negative ? "-" + digits : digits;
}

}  // namespace

std::optional<Decimal> ReadDecimal(std::string_view text)
{
    text = TrimAscii(text);
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    Decimal value;
    int digits = 0;
    bool point = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point && i > 0 && i + 1 < text.size()) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9' || ++digits > MaxDigits)
            return std::nullopt;
        value.units = value.units * 10 + (c - '0');
        value.scale += point ? 1 : 0;
    }
    if (digits == 0)
        return std::nullopt;
    if (negative)
        value.units = -value.units;
    return value;
}

int CompareDecimals(const Decimal& a, const Decimal& b)
{
    const int scale = std::max(a.scale, b.scale);
    const Wide left = Scaled(a, scale);
    const Wide right = Scaled(b, scale);
    return left < right ? -1 : (left > right ? 1 : 0);
}

std::optional<Decimal> DecimalDifference(const Decimal& after, const Decimal& before)
{
    const int scale = std::max(after.scale, before.scale);
    const Wide difference = Scaled(after, scale) - Scaled(before, scale);
    const Wide limit = PowerOfTen(MaxDigits);
    if (difference >= limit || difference <= -limit)
        return std::nullopt;
    return Decimal{std::int64_t(difference), scale};
}

std::string DecimalText(const Decimal& value)
{
    return FixedText(value.units, value.scale);
}

std::optional<std::string> PercentText(const Decimal& delta, const Decimal& before)
{
    if (before.units == 0)
        return std::nullopt;
    const int scale = std::max(delta.scale, before.scale);
    // Hundredths of a percent: delta × 10000 ÷ before, rounded half away from zero.
    const Wide numerator = Scaled(delta, scale) * 10000 * 2;
    const Wide denominator = Scaled(before, scale);
    Wide doubled = numerator / denominator;
    doubled += doubled < 0 ? -1 : 1;
    return FixedText(doubled / 2, 2);
}

}  // namespace korvel
