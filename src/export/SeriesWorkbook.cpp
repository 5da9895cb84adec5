#include "export/SeriesWorkbook.h"

#include <iterator>

#include "export/CsvExport.h"
#include "export/Sheet.h"
#include "export/Workbook.h"
#include "text/Gbk.h"

namespace korvel {
namespace {

constexpr const char* Titles[] = {"时间", "销售价", "市场价", "已售"};
constexpr int TitleRow = 0;
constexpr int HeaderRow = 1;
constexpr int FirstRow = 2;

void WritePrice(Sheet& sheet, int row, int column, const std::optional<double>& price)
{
    if (price)
        sheet.number(row, column, *price);
}

}  // namespace

bool WriteSeriesWorkbook(const std::string& path, const std::string& title,
                         const std::vector<SeriesRow>& rows)
{
    Workbook book(path);
    Sheet& sheet = book.addSheet("价格走势");
    sheet.heading(TitleRow, 0, CsvCellText(title, CellKind::Text));
    for (int column = 0; column < static_cast<int>(std::size(Titles)); ++column)
        sheet.text(HeaderRow, column, Titles[column], CellStyle::Header);
    int row = FirstRow;
    for (const SeriesRow& run : rows) {
        sheet.text(row, 0, gbk::ToUtf8(run.when));
        WritePrice(sheet, row, 1, run.salePrice);
        WritePrice(sheet, row, 2, run.marketPrice);
        sheet.numberOrText(row, 3, CsvCellText(run.sold, CellKind::Number));
        ++row;
    }
    sheet.freezeRows(FirstRow);
    if (!rows.empty()) {
        LineChart chart{.titleCell = {TitleRow, 0},
                        .seriesNameCell = {HeaderRow, 1},
                        .xAxisName = Titles[0],
                        .yAxisName = Titles[1],
                        .firstRow = FirstRow,
                        .lastRow = row - 1,
                        .categoryColumn = 0,
                        .valueColumn = 1,
                        .corner = {HeaderRow, static_cast<int>(std::size(Titles)) + 1}};
        book.addLineChart(sheet, chart);
    }
    sheet.fitColumns();
    return book.close();
}

}  // namespace korvel
