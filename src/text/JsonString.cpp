#include "text/JsonString.h"

#include "text/Utf8.h"

namespace korvel {
namespace {

constexpr char Replacement[] = "\xEF\xBF\xBD";

void AppendEscaped(std::string& out, unsigned char c)
{
    switch (c) {
        case '"': out += "\\\""; return;
        case '\\': out += "\\\\"; return;
        case '\b': out += "\\b"; return;
        case '\f': out += "\\f"; return;
        case '\n': out += "\\n"; return;
        case '\r': out += "\\r"; return;
        case '\t': out += "\\t"; return;
        default: break;
    }
    constexpr char hex[] = "0123456789abcdef";
    out += "\\u00";
    out += hex[c >> 4];
    out += hex[c & 0xF];
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text)
{
    out += '"';
    for (std::size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        const Utf8Character character = NextUtf8(text, at);
        if (c < 0x20 || c == '"' || c == '\\')
            AppendEscaped(out, c);
        else if (character.wellFormed)
            out.append(text.substr(at, character.length));
        else
            out += Replacement;
        at += character.length;
    }
    out += '"';
}

}  // namespace korvel
