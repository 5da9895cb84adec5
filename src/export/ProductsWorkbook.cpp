#include "export/ProductsWorkbook.h"

#include "export/CsvExport.h"
#include "export/ProductColumns.h"
#include "export/Sheet.h"
#include "export/Workbook.h"

namespace korvel {
namespace {

constexpr int Columns = static_cast<int>(ProductListColumns.size());

void WriteCell(Sheet& sheet, int row, int column, const std::string& utf8)
{
    const CellKind kind = ProductListColumns[column].kind;
    // An ID is a name made of digits: as a number a spreadsheet shows 4.08903E+10 and drops digits.
    if (kind == CellKind::Number && column != ProductIdColumn)
        sheet.numberOrText(row, column, utf8);
    else if (kind == CellKind::Address)
        sheet.link(row, column, utf8);
    else
        sheet.text(row, column, utf8);
}

}  // namespace

bool WriteProductsWorkbook(const std::string& path, const RunProducts& products)
{
    Workbook book(path);
    Sheet& sheet = book.addSheet("商品");
    for (int column = 0; column < Columns; ++column)
        sheet.text(0, column, ProductListColumns[column].title, CellStyle::Header);
    int row = 0;
    for (const Product& product : products) {
        ++row;
        for (int column = 0; column < Columns; ++column) {
            const CellKind kind = ProductListColumns[column].kind;
            WriteCell(sheet, row, column, CsvCellText(ProductCell(product, column), kind));
        }
    }
    sheet.freezeRows(1);
    sheet.filter(0, row, Columns - 1);
    sheet.fitColumns();
    return book.close();
}

}  // namespace korvel
