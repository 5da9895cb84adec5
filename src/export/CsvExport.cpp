#include "export/CsvExport.h"

#include <vector>

#include "export/CsvRecords.h"
#include "export/HtmlEntities.h"
#include "export/ProductColumns.h"
#include "text/Text.h"
#include "web/Encoding.h"

namespace korvel {
namespace {

std::string Utf8Of(const std::string& gbk)
{
    std::string utf8 = GbkToUtf8(gbk);
    if (!utf8.empty())
        utf8.pop_back();  // the converter's closing zero byte
    return utf8;
}

}  // namespace

std::string CsvCellText(const std::string& gbk, CellKind kind)
{
    switch (kind) {
        case CellKind::Number:
            return TrimBlanks(Utf8Of(gbk));
        case CellKind::Text:
            return DecodeCharacterReferences(Utf8Of(gbk));
        case CellKind::Address:
            break;
    }
    return Utf8Of(gbk);
}

namespace {

ProductColumn ColumnAt(int column)
{
    return column < static_cast<int>(ProductListColumns.size()) ? ProductListColumns[column]
                                                                : ProductColumn{"", CellKind::Address};
}

}  // namespace

std::string ProductsCsv(const ListView& list)
{
    const int columns = list.columns();
    std::vector<std::string> fields(columns);
    for (int column = 0; column < columns; ++column)
        fields[column] = ColumnAt(column).title;
    std::string csv = Utf8ByteOrderMark;
    AppendCsvRecord(csv, fields);
    const int rows = list.rows();
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column)
            fields[column] = CsvCellText(list.cellText(row, column), ColumnAt(column).kind);
        AppendCsvRecord(csv, fields);
    }
    return csv;
}

std::string ProductIdsCsv(const ListView& list)
{
    return ProductIdsCsv(ProductIds(list));
}

std::string ProductIdsCsv(const std::vector<std::string>& ids)
{
    const ProductColumn column = ProductListColumns[ProductIdColumn];
    std::string csv = Utf8ByteOrderMark;
    AppendCsvRecord(csv, {column.title});
    for (const std::string& id : ids)
        AppendCsvRecord(csv, {CsvCellText(id, column.kind)});
    return csv;
}

bool IsCsvPath(const std::string& path)
{
    return path.size() >= 4 && ToLowerAscii(path.substr(path.size() - 4)) == ".csv";
}

}  // namespace korvel
