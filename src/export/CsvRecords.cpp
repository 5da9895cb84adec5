#include "export/CsvRecords.h"

#include <array>

namespace korvel {
namespace {

bool NeedsQuotes(std::string_view field)
{
    return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

void AppendField(std::string& out, std::string_view field)
{
    if (!NeedsQuotes(field)) {
        out.append(field);
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

bool IsPlainDecimal(std::string_view field)
{
    if (!field.empty() && (field.front() == '-' || field.front() == '+'))
        field.remove_prefix(1);
    const size_t point = field.find('.');
    const std::string_view whole = field.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : field.substr(point + 1);
    const auto digits = [](std::string_view part) {
        return part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    const bool hasDigits = !whole.empty() || !fraction.empty();
    return hasDigits && digits(whole) && digits(fraction) && (point == std::string_view::npos || !fraction.empty());
}

constexpr std::array<std::string_view, 6> Blanks = {" ", "\t", "\r", "\n", "\u3000", "\u00A0"};

// Length of the blank `text` starts with (ends with, when `atEnd`), or 0.
size_t BlankLength(std::string_view text, bool atEnd)
{
    for (std::string_view blank : Blanks) {
        if (atEnd ? text.ends_with(blank) : text.starts_with(blank))
            return blank.size();
    }
    return 0;
}

// Spaces an import may trim in front of a cell; a tab and a CR are formula starts of their own.
size_t LeadingSpaceLength(std::string_view text)
{
    for (std::string_view space : {std::string_view(" "), std::string_view("\n"), std::string_view("\u3000"),
                                   std::string_view("\u00A0")}) {
        if (text.starts_with(space))
            return space.size();
    }
    return 0;
}

}  // namespace

std::string SpreadsheetSafe(std::string_view field)
{
    constexpr std::string_view FormulaStarts = "=+-@\t\r";
    // A spreadsheet that trims spaces on import reads "  =1+9" as "=1+9", so the test is made on
    // what follows the leading spaces; the apostrophe still goes in front of the whole field.
    std::string_view rest = field;
    while (const size_t n = LeadingSpaceLength(rest))
        rest.remove_prefix(n);
    if (rest.empty() || FormulaStarts.find(rest.front()) == std::string_view::npos || IsPlainDecimal(rest))
        return std::string(field);
    return "'" + std::string(field);
}

void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields)
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        AppendField(out, SpreadsheetSafe(fields[i]));
    }
    out += "\r\n";
}

std::string TrimBlanks(std::string_view utf8)
{
    while (const size_t n = BlankLength(utf8, false))
        utf8.remove_prefix(n);
    while (const size_t n = BlankLength(utf8, true))
        utf8.remove_suffix(n);
    return std::string(utf8);
}

}  // namespace korvel
