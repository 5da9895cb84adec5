#pragma once

// JSON text for every JSON the programs write (the batch's JSON Lines, the change export): whatever
// bytes a shop's page held, the value stays valid UTF-8 JSON on one line.

#include <string>
#include <string_view>

namespace korvel {

// Appends `text` as a JSON string: quotes, backslashes and control characters escaped; bytes that
// are not well-formed UTF-8 become U+FFFD (NextUtf8's maximal subparts). JSON has no escape for a
// byte, and one for a lone surrogate would only move the fault to the reader.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace korvel
