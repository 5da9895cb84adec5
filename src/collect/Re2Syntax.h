#pragma once

// PCRE2 pattern text rewritten for RE2 so both engines read it alike.

#include <string>
#include <string_view>

namespace korvel {

// The UTF-8 pattern with \s and \S spelled as explicit classes (RE2's \s leaves out the vertical
// tab that PCRE2's includes) and escaped non-ASCII characters unescaped (RE2 rejects them).
// Everything else is passed through: the escaped ASCII punctuation both engines read as literals.
std::string ToRe2Syntax(std::string_view utf8Pattern);

}  // namespace korvel
