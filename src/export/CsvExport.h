#pragma once

// The product list as CSV for spreadsheets, beside the byte-exact text exports: UTF-8 with a
// byte-order mark (so a spreadsheet reads the Chinese as Chinese), a header row with the column
// titles, CR LF after every record and RFC 4180 quoting. Meant to be read rather than to keep the
// page's bytes: cells are decoded from GBK (bytes that are not GBK become U+FFFD), titles lose
// their HTML character references and numbers the blanks around them.

#include <string>
#include <vector>

#include "collect/RunProducts.h"
#include "export/ProductColumns.h"

namespace korvel {

// Every column of every product under the product list's titles.
std::string ProductsCsv(const RunProducts& products);
// One column: the product IDs (GBK) under the title 商品ID.
std::string ProductIdsCsv(const std::vector<std::string>& ids);
// One cell as the CSV holds it: the page's GBK bytes tidied as the column's kind says.
std::string CsvCellText(const std::string& gbk, CellKind kind);

}  // namespace korvel
