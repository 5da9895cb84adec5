#include "export/DisplayWidth.h"

#include "text/Utf8.h"

namespace korvel {
namespace {

struct Range {
    char32_t first;
    char32_t last;
};

// Unicode's East Asian Wide and Fullwidth blocks, in order.
constexpr Range WideRanges[] = {
    {0x1100, 0x115F}, {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},
    {0xA000, 0xA4CF}, {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},
    {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD},
};

bool IsWide(char32_t code)
{
    for (const Range& range : WideRanges) {
        if (code < range.first)
            return false;
        if (code <= range.last)
            return true;
    }
    return false;
}

}  // namespace

int DisplayWidth(std::string_view utf8)
{
    int width = 0;
    for (size_t at = 0; at < utf8.size();) {
        const Utf8Character c = NextUtf8(utf8, at);
        width += IsWide(c.code) ? 2 : 1;
        at += c.length;
    }
    return width;
}

}  // namespace korvel
