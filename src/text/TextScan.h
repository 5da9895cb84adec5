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

// The first character start at or after `target`, given `cursor` (itself a character start) at or
// before it. The byte after one below 0x80 always starts a character (that byte stood alone or
// ended a pair), so the walk only needs to cover the run of high bytes just before `target`.
inline size_t CharStartFrom(std::string_view text, size_t cursor, size_t target)
{
    size_t start = target;
    while (start > cursor && IsLead(text[start - 1])) {
        --start;
    }
    while (start < target) {
        start += CharLength(text, start);
    }
    return start;
}

// 0-based position of the first occurrence starting at a character start at or after `from` (a
// character start), or npos.
size_t FindFromCharStart(std::string_view text, std::string_view sought, size_t from, bool ignoreCase);

}  // namespace korvel::textscan
