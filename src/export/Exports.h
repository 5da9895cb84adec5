#pragma once

// The two exports of the product list, written from the run's products, and the plain list export
// the member page uses.

#include <string>
#include <vector>

#include "collect/Product.h"
#include "export/ExportScreen.h"

namespace korvel {

// The IDs one per line with CR LF (GBK).
std::string ProductIdsText(const std::vector<std::string>& ids);
// Every column of every product, each cell followed by two full-width spaces, each row by CR LF.
std::string AllInformationText(const std::vector<Product>& products);

// The product IDs as text, or as CSV when the dialog's CSV filter was chosen, then a message with
// the count. True when the file was written; a cancelled dialog or an unwritable path gives false.
// The IDs are those present when it is called; the count those present once the file is written.
[[nodiscard]] bool ExportProductIds(const std::vector<Product>& products, SaveDialog& dialog, MessageBox& box);

// Every column of every product, as text or as CSV by the chosen filter, read once the dialog has
// been answered, then a message with the count. True when the file was written.
[[nodiscard]] bool ExportAllInformation(const std::vector<Product>& products, SaveDialog& dialog,
                                        MessageBox& box);

// Writes rows 0…R−1, columns 0…columnCount−1 of any list; true when the file was written.
// A path that cannot be written is reported through `box` and gives false.
[[nodiscard]] bool ExportListToTextFile(SaveDialog& dialog, const ListView& list, int columnCount,
                                        const std::string& fieldSeparator, const std::string& lineSeparator,
                                        MessageBox& box);

}  // namespace korvel
