#pragma once

// The product list as an Excel workbook: one sheet, 商品, with the CSV's columns under the same
// titles and one row per product, its cells tidied as the CSV tidies them. The position, prices,
// sold and reviews are numbers where the shop wrote a clean one; the ID stays text, the picture
// address is a link. The title row stays in view and carries the filter buttons.

#include <string>

#include "collect/RunProducts.h"

namespace korvel {

// Writes the workbook at `path` itself (FileWriting.h stages it beside a target); false, with
// errno set, when it was not written whole.
[[nodiscard]] bool WriteProductsWorkbook(const std::string& path, const RunProducts& products);

}  // namespace korvel
