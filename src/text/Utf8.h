#pragma once

// Reading UTF-8 that came from anywhere (a page, a stored title, a reference decoded by hand), and
// writing it.

#include <cstddef>
#include <string>
#include <string_view>

namespace korvel {

struct Utf8Character {
    char32_t code = 0;       // U+FFFD where the bytes are not well-formed
    std::size_t length = 0;  // bytes read, at least 1
    bool wellFormed = false;
};

// The character starting at utf8[at] (at < utf8.size()). A sequence that is not well-formed
// (overlong, a surrogate, beyond U+10FFFF, cut short) stands for one U+FFFD over its longest valid
// prefix, or over the one byte when no prefix is valid: Unicode's "maximal subpart" practice.
Utf8Character NextUtf8(std::string_view utf8, std::size_t at);

// Appends the character's UTF-8 bytes; `c` must be a scalar value (no surrogate, at most U+10FFFF).
void AppendUtf8(std::string& out, char32_t c);

}  // namespace korvel
