#pragma once

// Shortening UTF-8 for a chat or a mail without ever splitting a character.

#include <cstddef>
#include <string>
#include <string_view>

namespace korvel::alerts {

// The longest start of `utf8` of at most maxBytes bytes that ends on a character boundary.
std::string_view CutUtf8Bytes(std::string_view utf8, std::size_t maxBytes);

// The first maxCharacters characters followed by "…" when the text is longer; as it is otherwise.
std::string ShortenUtf8(std::string_view utf8, std::size_t maxCharacters);

}  // namespace korvel::alerts
