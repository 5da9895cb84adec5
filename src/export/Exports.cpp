#include "export/Exports.h"

#include "export/ExportMessages.h"
#include "export/FileWriting.h"
#include "export/PathText.h"
#include "text/Text.h"

namespace korvel {

namespace {

// Nothing but the message box changes when the file cannot be written.
bool WriteExport(const std::string& path, const std::string& text, MessageBox& box)
{
    if (WriteWholeFile(path, text))
        return true;
    box.showMessage(export_text::WriteFailed + PathAsGbk(path), export_text::WriteFailedTitle);
    return false;
}

void ReportDone(MessageBox& box, const char* prefix, int count)
{
    box.showMessage(prefix + IntToText(count) + export_text::DoneSuffix, export_text::DoneTitle);
}

}  // namespace

bool ExportProductIds(const ListView& list, SaveDialog& dialog, MessageBox& box)
{
    dialog.setFilter(export_text::IdsFilter);
    dialog.setDefaultExtension(export_text::IdsExtension);
    // The rows as they are when the button is pressed, before the dialog lets the window run on.
    const int rows = list.rowCount();
    std::string text;
    for (int row = 0; row < rows; ++row)
        text += list.cellText(row, 1) + export_text::LineSeparator;
    if (!dialog.show() || !WriteExport(dialog.fileName(), text, box))
        return false;
    ReportDone(box, export_text::IdsDone, list.rowCount());
    return true;
}

bool ExportAllInformation(const ListView& list, SaveDialog& dialog, MessageBox& box)
{
    const int columns = list.columnCount();
    if (!ExportListToTextFile(dialog, list, columns, export_text::FieldSeparator, export_text::LineSeparator,
                              box))
        return false;
    ReportDone(box, export_text::AllDone, list.rowCount());
    return true;
}

bool ExportListToTextFile(SaveDialog& dialog, const ListView& list, int columnCount,
                          const std::string& fieldSeparator, const std::string& lineSeparator,
                          MessageBox& box)
{
    dialog.setFilter(export_text::ListFilter);
    dialog.setDefaultExtension(export_text::ListExtension);
    if (!dialog.show())
        return false;
    const int rows = list.rowCount();
    std::string text;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columnCount; ++column)
            text += list.cellText(row, column) + fieldSeparator;
        text += lineSeparator;
    }
    return WriteExport(dialog.fileName(), text, box);
}

}  // namespace korvel
