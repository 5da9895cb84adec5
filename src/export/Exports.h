#pragma once

// The two exports of the product list, written from the run's products, and the plain list export
// the member page uses.

#include <functional>
#include <string>
#include <vector>

#include "collect/RunProducts.h"
#include "export/ExportScreen.h"
#include "export/FileWriting.h"
#include "export/WriteRefusal.h"

namespace korvel {

// The IDs one per line with CR LF (GBK).
std::string ProductIdsText(const std::vector<std::string>& ids);
// Every column of every product, each cell followed by two full-width spaces, each row by CR LF.
std::string AllInformationText(const RunProducts& products);

// The products a view shows at the moment it is asked: the exports ask when the button is pressed
// and again once the dialog has closed, as the list may have grown meanwhile.
using CurrentProducts = std::function<RunProducts()>;

// How an export ended; the view that started it decides what the user is told.
struct ExportResult {
    enum class Outcome { Written, CannotWrite, Cancelled };
    Outcome outcome = Outcome::Cancelled;
    // The chosen path in the file system's own bytes (UTF-8), empty when the dialog was cancelled.
    std::string path;
    // The products present once the file was written.
    int count = 0;
    // Why the path could not be written, as far as the file system tells.
    WriteRefusal cause = WriteRefusal::None;

    bool written() const { return outcome == Outcome::Written; }
};

// Writes bytes an export made elsewhere (the shop monitor's changes) to a chosen path, with the
// same outcome and cause as the exports below.
[[nodiscard]] ExportResult WriteExportTo(const std::string& path, const std::string& bytes);
// The same for a workbook (ProductsWorkbook.h, ChangesWorkbook.h, SeriesWorkbook.h): written beside
// the path and renamed into place only once it closed whole, so a failure leaves what was there.
[[nodiscard]] ExportResult WriteWorkbookTo(const std::string& path, FileFiller workbook);

// The product IDs as text, or as CSV when the dialog's CSV filter was chosen. The IDs are those
// present when it is called; the count those present once the file is written.
[[nodiscard]] ExportResult ExportProductIds(const CurrentProducts& products, SaveDialog& dialog);

// Every column of every product present once the dialog closes, as text or as CSV by the chosen
// filter.
[[nodiscard]] ExportResult ExportAllInformation(const CurrentProducts& products, SaveDialog& dialog);

// Writes rows 0…R−1, columns 0…columnCount−1 of any list.
[[nodiscard]] ExportResult ExportListToTextFile(SaveDialog& dialog, const ListView& list, int columnCount,
                                                const std::string& fieldSeparator,
                                                const std::string& lineSeparator);

}  // namespace korvel
