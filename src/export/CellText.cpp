#include "export/CellText.h"

#include <algorithm>

#include "text/Utf8.h"

namespace korvel {
namespace {

constexpr size_t MaxCellCharacters = 32767;
constexpr std::string_view Replacement = "\xEF\xBF\xBD";
constexpr std::string_view EscapedUnderscore = "_x005F";

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// "_xHHHH_" at `at`: what Excel reads as one escaped character.
bool StartsEscape(std::string_view text, size_t at)
{
    const std::string_view rest = text.substr(at);
    return rest.size() >= 7 && rest.starts_with("_x") && rest[6] == '_' &&
           std::all_of(rest.begin() + 2, rest.begin() + 6, IsHexDigit);
}

bool XmlCarries(const Utf8Character& c)
{
    return c.wellFormed && c.code != 0 && c.code != 0xFFFE && c.code != 0xFFFF;
}

}  // namespace

std::string CellText(std::string_view utf8)
{
    std::string cell;
    size_t characters = 0;
    for (size_t at = 0; at < utf8.size();) {
        const Utf8Character c = NextUtf8(utf8, at);
        const bool escape = StartsEscape(utf8, at);
        const size_t added = escape ? EscapedUnderscore.size() + 1 : 1;
        if (characters + added > MaxCellCharacters)
            break;
        if (escape)
            cell += EscapedUnderscore;
        cell += XmlCarries(c) ? utf8.substr(at, c.length) : Replacement;
        characters += added;
        at += c.length;
    }
    return cell;
}

}  // namespace korvel
