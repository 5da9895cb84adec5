#pragma once

#include <string>

#include "export/ExportScreen.h"

namespace korvel {

// The product IDs (column 1), one per line with CR LF, then a message with the count. True when
// the file was written; a cancelled dialog or an unwritable path gives false.
[[nodiscard]] bool ExportProductIds(const ListView& list, SaveDialog& dialog, MessageBox& box);

// Every column of every row, each cell followed by two full-width spaces, each row by CR LF, then
// a message with the count. True when the file was written.
[[nodiscard]] bool ExportAllInformation(const ListView& list, SaveDialog& dialog, MessageBox& box);

// Writes rows 0…R−1, columns 0…columnCount−1 of any list; true when the file was written.
// A path that cannot be written is reported through `box` and gives false.
[[nodiscard]] bool ExportListToTextFile(SaveDialog& dialog, const ListView& list, int columnCount,
                                        const std::string& fieldSeparator, const std::string& lineSeparator,
                                        MessageBox& box);

}  // namespace korvel
