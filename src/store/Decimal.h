#pragma once

// Prices and counts as the shop wrote them, compared as exact decimal numbers: "128.00" and "128"
// are the same price, and a difference is computed without binary rounding.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

struct Decimal {
    std::int64_t units = 0;  // the value times 10^scale
    int scale = 0;           // digits after the point
};

// A text that is an optional "-", digits and an optional fraction, with ASCII blanks around;
// nothing for anything else ("", "1.2万", "¥12", more than 18 digits).
std::optional<Decimal> ReadDecimal(std::string_view text);

// Negative, zero or positive as a is below, equal to or above b.
int CompareDecimals(const Decimal& a, const Decimal& b);

// after − before at the finer of both scales; nothing when it would not fit.
std::optional<Decimal> DecimalDifference(const Decimal& after, const Decimal& before);

// "12", "-3.50": the digits at the number's own scale.
std::string DecimalText(const Decimal& value);

// delta ÷ before × 100, rounded half away from zero to two decimals ("-7.81"); nothing when
// before is 0.
std::optional<std::string> PercentText(const Decimal& delta, const Decimal& before);

}  // namespace korvel
