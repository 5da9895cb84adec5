#include "export/CsvExport.h"

#include <vector>

#include "export/CsvRecords.h"
#include "export/HtmlEntities.h"
#include "export/ProductColumns.h"
#include "text/Text.h"
#include "text/Encoding.h"

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

std::string ProductsCsv(const RunProducts& products)
{
    constexpr int columns = static_cast<int>(ProductListColumns.size());
    std::vector<std::string> fields(columns);
    for (int column = 0; column < columns; ++column)
        fields[column] = ProductListColumns[column].title;
    std::string csv = Utf8ByteOrderMark;
    AppendCsvRecord(csv, fields);
    for (const Product& product : products) {
        for (int column = 0; column < columns; ++column)
            fields[column] = CsvCellText(ProductCell(product, column), ProductListColumns[column].kind);
        AppendCsvRecord(csv, fields);
    }
    return csv;
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

}  // namespace korvel
