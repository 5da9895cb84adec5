#include "batch/JsonText.h"

namespace korvel::batch {
namespace {

constexpr char Replacement[] = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0.
size_t SequenceLength(std::string_view text)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;   // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;  // nothing past U+10FFFF
    }
    if (length == 0 || text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i) {
        if (byte(i) < 0x80 || byte(i) > 0xBF)
            return 0;
    }
    return length;
}

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
    while (!text.empty()) {
        const auto c = static_cast<unsigned char>(text.front());
        if (c < 0x20 || c == '"' || c == '\\') {
            AppendEscaped(out, c);
            text.remove_prefix(1);
        } else if (c < 0x80) {
            out += static_cast<char>(c);
            text.remove_prefix(1);
        } else if (const size_t length = SequenceLength(text); length > 0) {
            out.append(text.substr(0, length));
            text.remove_prefix(length);
        } else {
            out += Replacement;
            text.remove_prefix(1);
        }
    }
    out += '"';
}

}  // namespace korvel::batch
