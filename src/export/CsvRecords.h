#pragma once

// RFC 4180 records: a field holding a comma, a double quote, CR or LF is enclosed in double quotes
// with its quotes doubled, so line breaks inside a title stay inside its field. Every field is
// made safe to open in a spreadsheet first (SpreadsheetSafe), so no CSV of Korvel's can carry a
// formula from a shop page into the user's spreadsheet.

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

inline constexpr char Utf8ByteOrderMark[] = "\xEF\xBB\xBF";

// The field as a spreadsheet should show it: one apostrophe in front of a field whose first
// character would make a spreadsheet run it as a formula (=, +, -, @, a tab or a CR), also after
// leading spaces (ASCII, no-break, ideographic) that an import may trim, unless what follows the
// spaces reads as a plain decimal number such as a price of -5 or 12.50.
std::string SpreadsheetSafe(std::string_view field);

// Appends the fields, each made spreadsheet-safe, separated by commas and the closing CR LF.
void AppendCsvRecord(std::string& out, const std::vector<std::string>& fields);

// Trims spaces, tabs, line breaks, the ideographic space and the no-break space at both ends.
std::string TrimBlanks(std::string_view utf8);

}  // namespace korvel
