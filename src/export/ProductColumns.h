#pragma once

// The product list's eight columns, defined once: the window's titles, the cell each column takes
// from a product, and how the CSV export tidies it for a spreadsheet.

#include <array>
#include <string>
#include <vector>

#include "collect/RunProducts.h"

namespace korvel {

enum class CellKind {
    Number,  // blanks around the digits come from the page's markup, not from the shop
    Text,    // as the page wrote it, HTML character references and all
    Address,
};

struct ProductColumn {
    const char* title;  // UTF-8
    CellKind kind;
};

inline constexpr int ProductIdColumn = 1;

inline constexpr std::array<ProductColumn, 8> ProductListColumns = {{
    {"序号", CellKind::Number},
    {"商品ID", CellKind::Number},
    {"图片地址", CellKind::Address},
    {"商品标题", CellKind::Text},
    {"销售价", CellKind::Number},
    {"市场价", CellKind::Number},
    {"已售", CellKind::Number},
    {"评论", CellKind::Number},
}};

// The cell of `column` as the list shows it (GBK): the position in decimal (empty while it has
// none), then the seven fields as extracted. Empty for a column the list does not have.
std::string ProductCell(const Product& product, int column);

// The product IDs, in order.
std::vector<std::string> ProductIds(const RunProducts& products);

}  // namespace korvel
