#include "export/ChangesWorkbook.h"

#include <algorithm>
#include <string_view>

#include "export/Sheet.h"
#include "export/Workbook.h"

namespace korvel {
namespace {

constexpr int Columns = static_cast<int>(ChangeColumns.size());

// The kinds whose before and after are prices or counts (ChangeKindName); a title or a picture
// address stays text even when it reads as a number.
constexpr std::string_view NumericKinds[] = {"price", "market_price", "sold", "reviews", "lowest"};

bool IsNumericKind(std::string_view kind)
{
    return std::find(std::begin(NumericKinds), std::end(NumericKinds), kind) != std::end(NumericKinds);
}

void WriteRow(Sheet& sheet, int row, const ChangeRow& change)
{
    const bool numeric = IsNumericKind(change.kind);
    const auto value = [&](int column, const std::optional<std::string>& text) {
        if (text && numeric)
            sheet.numberOrText(row, column, *text);
        else if (text)
            sheet.text(row, column, *text);
    };
    sheet.text(row, 0, change.shop);
    sheet.text(row, 1, change.id);
    sheet.text(row, 2, change.kind);
    value(3, change.before);
    value(4, change.after);
    if (change.delta)
        sheet.numberOrText(row, 5, *change.delta);
    if (change.percent)
        sheet.percentOrText(row, 6, *change.percent);
    sheet.text(row, 7, change.title);
    sheet.numberOrText(row, 8, std::to_string(change.runBefore));
    sheet.numberOrText(row, 9, std::to_string(change.runAfter));
}

}  // namespace

bool WriteChangesWorkbook(const std::string& path, const std::vector<ChangeRow>& rows)
{
    Workbook book(path);
    Sheet& sheet = book.addSheet("变化");
    for (int column = 0; column < Columns; ++column)
        sheet.text(0, column, ChangeColumns[column], CellStyle::Header);
    int row = 0;
    for (const ChangeRow& change : rows)
        WriteRow(sheet, ++row, change);
    sheet.freezeRows(1);
    sheet.filter(0, row, Columns - 1);
    sheet.fitColumns();
    return book.close();
}

}  // namespace korvel
