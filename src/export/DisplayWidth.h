#pragma once

#include <string_view>

namespace korvel {

// How many columns of a fixed-width screen the text takes: two for a wide character (Chinese,
// Japanese, Korean, full-width forms, emoji), one for any other. Sizes a workbook's columns.
int DisplayWidth(std::string_view utf8);

}  // namespace korvel
