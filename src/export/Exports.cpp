#include "export/Exports.h"

#include <cerrno>

#include <utility>
#include <vector>

#include "export/CsvExport.h"
#include "export/ExportMessages.h"
#include "export/FileWriting.h"
#include "export/ProductColumns.h"

namespace korvel {

namespace {

bool ShowDialog(SaveDialog& dialog, const std::string& filter, const char* extension)
{
    dialog.setFilter(filter);
    dialog.setDefaultExtension(extension);
    return dialog.show();
}

// How writing `path` ended, called right after the write so that errno still tells why it failed.
ExportResult Outcome(const std::string& path, bool written)
{
    const int error = errno;
    if (written)
        return {ExportResult::Outcome::Written, path, 0, WriteRefusal::None};
    return {ExportResult::Outcome::CannotWrite, path, 0, WhyNotWritten(path, error)};
}

ExportResult WriteExport(const std::string& path, const std::string& text)
{
    return Outcome(path, WriteWholeFile(path, text));
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

int Count(const RunProducts& products)
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

std::string AllInformationText(const RunProducts& products)
{
    std::string text;
    for (const Product& product : products) {
        for (int column = 0; column < static_cast<int>(ProductListColumns.size()); ++column)
            text += ProductCell(product, column) + export_text::FieldSeparator;
        text += export_text::LineSeparator;
    }
    return text;
}

ExportResult WriteExportTo(const std::string& path, const std::string& bytes)
{
    return WriteExport(path, bytes);
}

ExportResult WriteWorkbookTo(const std::string& path, FileFiller workbook)
{
    return Outcome(path, WriteWholeFile(path, std::move(workbook)));
}

ExportResult ExportProductIds(const CurrentProducts& products, SaveDialog& dialog)
{
    const std::vector<std::string> ids = ProductIds(products());
    if (!ShowDialog(dialog, export_text::IdsFilter, export_text::IdsExtension))
        return {};
    const bool csv = dialog.chosenFilter() == export_text::CsvFilterIndex;
    ExportResult result = WriteExport(dialog.fileName(), csv ? ProductIdsCsv(ids) : ProductIdsText(ids));
    result.count = Count(products());
    return result;
}

ExportResult ExportAllInformation(const CurrentProducts& products, SaveDialog& dialog)
{
    if (!ShowDialog(dialog, export_text::AllFilter, export_text::ListExtension))
        return {};
    const bool csv = dialog.chosenFilter() == export_text::CsvFilterIndex;
    const RunProducts shown = products();
    ExportResult result = WriteExport(dialog.fileName(), csv ? ProductsCsv(shown) : AllInformationText(shown));
    result.count = Count(products());
    return result;
}

ExportResult ExportListToTextFile(SaveDialog& dialog, const ListView& list, int columnCount,
                                  const std::string& fieldSeparator, const std::string& lineSeparator)
{
    if (!ShowDialog(dialog, export_text::ListFilter, export_text::ListExtension))
        return {};
    ExportResult result =
        WriteExport(dialog.fileName(), ListText(list, columnCount, fieldSeparator, lineSeparator));
    result.count = list.rows();
    return result;
}

}  // namespace korvel
