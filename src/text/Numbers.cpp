// Reading numbers out of texts the way a user types them: leading white space, an optional sign,
// and digits that may be full-width (A3 B0 for "0"). Parsing is our own, so neither the process
// locale's decimal point nor hex, "inf" or "nan" forms ever change the result.

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "text/Text.h"
#include "text/TextScan.h"

namespace korvel {
namespace {

using textscan::CharLength;

// Folds each full-width form to its ASCII byte; other characters stay as they are.
std::string FoldFullWidth(std::string_view text)
{
    std::string folded;
    folded.reserve(text.size());
    for (size_t at = 0; at < text.size(); at += CharLength(text, at)) {
        if (CharLength(text, at) == 1) {
            folded += text[at];
            continue;
        }
        const auto lead = static_cast<unsigned char>(text[at]);
        const auto trail = static_cast<unsigned char>(text[at + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            folded += static_cast<char>(trail - 0x80);
        } else if (lead == 0xA1 && trail == 0xA1) {
            folded += ' ';
        } else if (lead == 0xA1 && trail == 0xAB) {
            folded += '~';
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            folded += '*';
        } else {
            folded.append(text.substr(at, 2));
        }
    }
    return folded;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The C locale's white space, whatever locale the process runs in.
bool IsWhiteSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Skips leading white space and returns the position after an optional sign; `negative` tells which.
size_t SkipSpaceAndSign(std::string_view text, bool& negative)
{
    size_t at = 0;
    while (at < text.size() && IsWhiteSpace(text[at])) {
        ++at;
    }
    negative = at < text.size() && text[at] == '-';
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        ++at;
    }
    return at;
}

size_t SkipDigits(std::string_view text, size_t at)
{
    while (at < text.size() && IsDigit(text[at])) {
        ++at;
    }
    return at;
}

// End of the longest decimal number (digits, point, fraction, exponent) starting at `at`, or `at`.
size_t DecimalNumberEnd(std::string_view text, size_t at)
{
    size_t end = SkipDigits(text, at);
    bool anyDigit = end > at;
    if (end < text.size() && text[end] == '.') {
        const size_t fractionEnd = SkipDigits(text, end + 1);
        anyDigit = anyDigit || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!anyDigit) {
        return at;
    }
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) {
            ++exponent;
        }
        const size_t exponentEnd = SkipDigits(text, exponent);
        if (exponentEnd > exponent) {
            end = exponentEnd;
        }
    }
    return end;
}

locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c;
}

}  // namespace

// Values outside the 32-bit range are clamped to its nearest end.
std::int32_t ToInteger(std::string_view text)
{
    const std::string folded = FoldFullWidth(text);
    bool negative = false;
    const size_t digits = SkipSpaceAndSign(folded, negative);
    const size_t end = SkipDigits(folded, digits);
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (size_t at = digits; at < end && magnitude <= limit; ++at) {
        magnitude = magnitude * 10 + (folded[at] - '0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(std::max<std::int64_t>(value, std::numeric_limits<std::int32_t>::min()));
}

// Too large a number reads as an infinity of its sign, too small a one as 0, as strtod does.
double ToNumber(std::string_view text)
{
    const std::string folded = FoldFullWidth(text);
    bool negative = false;
    const size_t begin = SkipSpaceAndSign(folded, negative);
    const size_t end = DecimalNumberEnd(folded, begin);
    if (end == begin) {
        return 0.0;
    }
    const std::string number = folded.substr(begin, end - begin);
    const double magnitude = strtod_l(number.c_str(), nullptr, CLocale());
    return negative ? -magnitude : magnitude;
}

std::string IntToText(long long value)
{
    return std::to_string(value);
}

}  // namespace korvel
