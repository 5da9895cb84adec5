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

}  // namespace

void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields)
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ',';
        AppendField(out, fields[i]);
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
