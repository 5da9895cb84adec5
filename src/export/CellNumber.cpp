#include "export/CellNumber.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "export/CsvRecords.h"

namespace korvel {
namespace {

constexpr size_t MaxDigits = 15;

bool AllDigits(std::string_view part)
{
    return !part.empty() &&
           std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::optional<double> CleanNumber(std::string_view text)
{
    const std::string trimmed = TrimBlanks(text);
    std::string_view digits = trimmed;
    if (digits.starts_with('-'))
        digits.remove_prefix(1);
    const size_t point = digits.find('.');
    const std::string_view whole = digits.substr(0, point);
    const bool hasFraction = point != std::string_view::npos;
    const std::string_view fraction = hasFraction ? digits.substr(point + 1) : std::string_view();
    if (!AllDigits(whole) || (hasFraction && !AllDigits(fraction)) ||
        whole.size() + fraction.size() > MaxDigits)
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (error != std::errc() || end != trimmed.data() + trimmed.size())
        return std::nullopt;
    return value;
}

}  // namespace korvel
