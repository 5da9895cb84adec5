#include "export/Sheet.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include "export/CellNumber.h"
#include "export/CellText.h"
#include "export/DisplayWidth.h"
#include "export/LinkAddress.h"

namespace korvel {
namespace {

constexpr int MaxLinks = 65530;
// Column widths in characters: a long title or address wraps nowhere, so it is cut off instead of
// pushing the prices out of sight.
constexpr int MinWidth = 6;
constexpr int MaxWidth = 60;
constexpr int Padding = 2;

}  // namespace

Sheet::Sheet(Workbook& book, lxw_worksheet* sheet, std::string name)
    : book_(book), sheet_(sheet), name_(std::move(name))
{
}

void Sheet::text(int row, int column, std::string_view utf8, CellStyle style)
{
    const std::string cell = CellText(utf8);
    measure(column, cell);
    write(row, column, cell, style);
}

void Sheet::heading(int row, int column, std::string_view utf8)
{
    write(row, column, CellText(utf8), CellStyle::Header);
}

void Sheet::number(int row, int column, double value, CellStyle style)
{
    char shown[32];
    const auto end = std::to_chars(std::begin(shown), std::end(shown), value).ptr;
    measure(column, std::string_view(shown, end - shown));
    book_.noteError(worksheet_write_number(sheet_, row, column, value, book_.format(style)));
}

void Sheet::numberOrText(int row, int column, std::string_view utf8)
{
    if (const std::optional<double> value = CleanNumber(utf8))
        number(row, column, *value);
    else
        text(row, column, utf8);
}

void Sheet::percentOrText(int row, int column, std::string_view utf8)
{
    if (const std::optional<double> percent = CleanNumber(utf8))
        number(row, column, *percent / 100, CellStyle::Percent);
    else
        text(row, column, utf8);
}

void Sheet::link(int row, int column, std::string_view utf8Address)
{
    const std::optional<std::string> target = links_ < MaxLinks ? LinkTarget(utf8Address) : std::nullopt;
    if (!target) {
        text(row, column, utf8Address);
        return;
    }
    const std::string shown = CellText(utf8Address);
    measure(column, shown);
    ++links_;
    book_.noteError(
        worksheet_write_url_opt(sheet_, row, column, target->c_str(), nullptr, shown.c_str(), nullptr));
}

void Sheet::freezeRows(int rows)
{
    worksheet_freeze_panes(sheet_, rows, 0);
}

void Sheet::filter(int titleRow, int lastRow, int lastColumn)
{
    book_.noteError(worksheet_autofilter(sheet_, titleRow, 0, lastRow, lastColumn));
}

void Sheet::fitColumns()
{
    for (int column = 0; column < static_cast<int>(widths_.size()); ++column) {
        const int width = std::clamp(widths_[column] + Padding, MinWidth, MaxWidth);
        book_.noteError(worksheet_set_column(sheet_, column, column, width, nullptr));
    }
}

void Sheet::write(int row, int column, const std::string& cell, CellStyle style)
{
    book_.noteError(worksheet_write_string(sheet_, row, column, cell.c_str(), book_.format(style)));
}

void Sheet::measure(int column, std::string_view utf8)
{
    if (column >= static_cast<int>(widths_.size()))
        widths_.resize(column + 1, 0);
    widths_[column] = std::max(widths_[column], DisplayWidth(utf8));
}

}  // namespace korvel
