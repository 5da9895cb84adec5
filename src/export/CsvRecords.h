#pragma once

// RFC 4180 records: a field holding a comma, a double quote, CR or LF is enclosed in double quotes
// with its quotes doubled, so line breaks inside a title stay inside its field.

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

inline constexpr char Utf8ByteOrderMark[] = "\xEF\xBB\xBF";

// Appends the fields separated by commas and the closing CR LF.
void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields);

// Trims spaces, tabs, line breaks, the ideographic space and the no-break space at both ends.
std::string TrimBlanks(std::string_view utf8);

}  // namespace korvel
