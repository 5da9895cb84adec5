#pragma once

// The product list's eight columns as the window titles them, and what each holds: the header of
// the CSV export, and how its cells are tidied for a spreadsheet.

#include <array>
#include <string>
#include <vector>

#include "export/ExportScreen.h"

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

// The product IDs of every row, in order.
std::vector<std::string> ProductIds(const ListView& list);

}  // namespace korvel
