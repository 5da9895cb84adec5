#pragma once

// The shop writes its pages in UTF-8 source text and serves them as GBK bytes, as the live sites did.

#include <string>
#include <string_view>

namespace korvel::demo {

// The GBK bytes of a UTF-8 text; a character GBK cannot hold becomes "?".
std::string ToGbk(std::string_view utf8);

}  // namespace korvel::demo
