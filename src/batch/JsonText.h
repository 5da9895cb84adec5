#pragma once

// JSON text for the JSON Lines output: whatever bytes a shop's page held, the line stays one
// valid UTF-8 JSON value on one line.

#include <string>
#include <string_view>

namespace korvel::batch {

// Appends `text` as a JSON string: quotes, backslashes and control characters escaped, every byte
// that is not part of well-formed UTF-8 (overlong forms and surrogates included) replaced by U+FFFD.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace korvel::batch
