#pragma once

// Text on its way into a workbook cell. libxlsxwriter takes any bytes and writes them into the
// file's XML as they are: what Excel cannot read must not get that far.

#include <string>
#include <string_view>

namespace korvel {

// Well-formed UTF-8 that XML can carry (an ill-formed sequence, U+0000, U+FFFE and U+FFFF become
// U+FFFD), shown by Excel as it reads here: "_x0041_" in a cell is Excel's way of writing "A", so
// a text that holds such a sequence keeps its underscore as "_x005F_". At most the 32767
// characters a cell takes; the rest is cut.
std::string CellText(std::string_view utf8);

}  // namespace korvel
