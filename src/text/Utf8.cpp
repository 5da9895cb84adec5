#include "text/Utf8.h"

namespace korvel {
namespace {

constexpr char32_t Replacement = 0xFFFD;

bool IsContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// The second byte's narrower ranges rule out overlong forms, surrogates and too-large values.
bool SecondFits(unsigned char lead, unsigned char second)
{
    switch (lead) {
        case 0xE0: return second >= 0xA0;
        case 0xED: return second < 0xA0;
        case 0xF0: return second >= 0x90;
        case 0xF4: return second < 0x90;
        default: return true;
    }
}

}  // namespace

Utf8Character NextUtf8(std::string_view utf8, std::size_t at)
{
    const auto b = static_cast<unsigned char>(utf8[at]);
    if (b < 0x80)
        return {b, 1, true};
    if (b < 0xC2 || b > 0xF4)
        return {Replacement, 1, false};
    const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
    char32_t c = b & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = at + k < utf8.size() ? static_cast<unsigned char>(utf8[at + k]) : 0;
        if (!IsContinuation(next) || (k == 1 && !SecondFits(b, next)))
            return {Replacement, k, false};
        c = c << 6 | (next & 0x3F);
    }
    return {c, length, true};
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace korvel
