#pragma once

// A product put into the window's list as a row of cells: 序号, then the seven fields (GBK).

#include <memory>
#include <string>
#include <vector>

#include "app/ProductTableModel.h"
#include "text/Text.h"

namespace korvel::test {

inline void AppendRow(ProductTableModel& list, const std::vector<std::string>& cells)
{
    Product product{cells.at(1), cells.at(2), cells.at(3), cells.at(4), cells.at(5), cells.at(6), cells.at(7)};
    product.position = ToInteger(cells.at(0));
    list.append(std::make_shared<const std::vector<Product>>(std::vector<Product>{std::move(product)}));
}

}  // namespace korvel::test
