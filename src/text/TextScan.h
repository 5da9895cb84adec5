#pragma once

// Character-start scanning shared by the text operations (not part of the public text API).

#include <cstddef>
#include <string_view>

namespace korvel::textscan {

inline bool IsLead(char c)
{
    return static_cast<unsigned char>(c) >= 0x80;
}

// Length in bytes of the character starting at `at`; a lead byte at the very end counts as one.
inline size_t CharLength(std::string_view text, size_t at)
{
    return IsLead(text[at]) && at + 1 < text.size() ? 2 : 1;
}

// The first character start at or after `target`, walking from `cursor` (itself a character start).
inline size_t CharStartFrom(std::string_view text, size_t cursor, size_t target)
{
    while (cursor < target) {
        cursor += CharLength(text, cursor);
    }
    return cursor;
}

// 0-based position of the first occurrence starting at a character start at or after `from` (a
// character start), or npos.
size_t FindFromCharStart(std::string_view text, std::string_view sought, size_t from, bool ignoreCase);

}  // namespace korvel::textscan
