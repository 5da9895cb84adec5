#include "export/HtmlEntities.h"

#include <array>
#include <charconv>
#include <optional>
#include <utility>

#include "text/Utf8.h"

namespace korvel {
namespace {

constexpr std::array<std::pair<std::string_view, char32_t>, 6> Named = {{
    {"amp", U'&'},
    {"lt", U'<'},
    {"gt", U'>'},
    {"quot", U'"'},
    {"apos", U'\''},
    {"nbsp", U'\u00A0'},
}};

std::optional<char32_t> Numeric(std::string_view digits)
{
    int base = 10;
    if (!digits.empty() && (digits[0] == 'x' || digits[0] == 'X')) {
        base = 16;
        digits.remove_prefix(1);
    }
    unsigned long value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    const bool whole = !digits.empty() && error == std::errc() && end == digits.data() + digits.size();
    if (!whole || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return std::nullopt;
    return static_cast<char32_t>(value);
}

// The character named between "&" and ";".
std::optional<char32_t> Referenced(std::string_view name)
{
    if (!name.empty() && name[0] == '#')
        return Numeric(name.substr(1));
    for (const auto& [known, character] : Named) {
        if (name == known)
            return character;
    }
    return std::nullopt;
}

}  // namespace

std::string DecodeCharacterReferences(std::string_view utf8)
{
    // Long enough for "&#x10FFFF;" and every name; anything longer is no reference.
    constexpr size_t LongestName = 8;
    std::string out;
    out.reserve(utf8.size());
    size_t at = 0;
    while (at < utf8.size()) {
        const size_t amp = utf8.find('&', at);
        out.append(utf8.substr(at, amp - at));
        if (amp == std::string_view::npos)
            break;
        const size_t semicolon = utf8.substr(0, amp + 2 + LongestName).find(';', amp + 1);
        const auto character = semicolon == std::string_view::npos
                                   ? std::nullopt
                                   : Referenced(utf8.substr(amp + 1, semicolon - amp - 1));
        if (character) {
            AppendUtf8(out, *character);
            at = semicolon + 1;
        } else {
            out += '&';
            at = amp + 1;
        }
    }
    return out;
}

}  // namespace korvel
