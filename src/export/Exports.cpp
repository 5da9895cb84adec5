#include "export/Exports.h"

#include <vector>

#include "export/CsvExport.h"
#include "export/ExportMessages.h"
#include "export/FileWriting.h"
#include "export/ProductColumns.h"
#include "text/Gbk.h"
#include "text/Text.h"

namespace korvel {

namespace {

bool ShowDialog(SaveDialog& dialog, const std::string& filter, const char* extension)
{
    dialog.setFilter(filter);
    dialog.setDefaultExtension(extension);
    return dialog.show();
}

// Nothing but the message box changes when the file cannot be written. The path is the file
// system's UTF-8; the message shows it in GBK, "?" for what GBK cannot hold.
bool WriteExport(const std::string& path, const std::string& text, MessageBox& box)
{
    if (WriteWholeFile(path, text))
        return true;
    box.showMessage(export_text::WriteFailed + gbk::FromUtf8(path), export_text::WriteFailedTitle);
    return false;
}

void ReportDone(MessageBox& box, const std::string& prefix, int count)
{
    box.showMessage(prefix + IntToText(count) + export_text::DoneSuffix, export_text::DoneTitle);
}

std::string ListText(const ListView& list, int columnCount, const std::string& fieldSeparator,
                     const std::string& lineSeparator)
{
    const int rows = list.rows();
    std::string text;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columnCount; ++column)
            text += list.cellText(row, column) + fieldSeparator;
        text += lineSeparator;
    }
    return text;
}

int Count(const std::vector<Product>& products)
{
    return static_cast<int>(products.size());
}

}  // namespace

std::string ProductIdsText(const std::vector<std::string>& ids)
{
    std::string text;
    for (const std::string& id : ids)
        text += id + export_text::LineSeparator;
    return text;
}

std::string AllInformationText(const std::vector<Product>& products)
{
    std::string text;
    for (const Product& product : products) {
        for (int column = 0; column < static_cast<int>(ProductListColumns.size()); ++column)
            text += ProductCell(product, column) + export_text::FieldSeparator;
        text += export_text::LineSeparator;
    }
    return text;
}

bool ExportProductIds(const std::vector<Product>& products, SaveDialog& dialog, MessageBox& box)
{
    // The IDs as they are when the button is pressed, before the dialog lets the window run on.
    const std::vector<std::string> ids = ProductIds(products);
    if (!ShowDialog(dialog, export_text::IdsFilter, export_text::IdsExtension))
        return false;
    const bool csv = dialog.chosenFilter() == export_text::CsvFilterIndex;
    if (!WriteExport(dialog.fileName(), csv ? ProductIdsCsv(ids) : ProductIdsText(ids), box))
        return false;
    ReportDone(box, export_text::IdsDone, Count(products));
    return true;
}

bool ExportAllInformation(const std::vector<Product>& products, SaveDialog& dialog, MessageBox& box)
{
    if (!ShowDialog(dialog, export_text::AllFilter, export_text::ListExtension))
        return false;
    const bool csv = dialog.chosenFilter() == export_text::CsvFilterIndex;
    if (!WriteExport(dialog.fileName(), csv ? ProductsCsv(products) : AllInformationText(products), box))
        return false;
    ReportDone(box, export_text::AllDone, Count(products));
    return true;
}

bool ExportListToTextFile(SaveDialog& dialog, const ListView& list, int columnCount,
                          const std::string& fieldSeparator, const std::string& lineSeparator,
                          MessageBox& box)
{
    return ShowDialog(dialog, export_text::ListFilter, export_text::ListExtension) &&
           WriteExport(dialog.fileName(), ListText(list, columnCount, fieldSeparator, lineSeparator), box);
}

}  // namespace korvel
