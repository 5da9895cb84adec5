#include "export/ProductColumns.h"

#include <iterator>

#include "text/Text.h"

namespace korvel {

std::string ProductCell(const Product& product, int column)
{
    // Columns 1 to 7, in the list's order.
    static constexpr std::string Product::*fields[] = {&Product::id,          &Product::picture, &Product::title,
                                                       &Product::salePrice,   &Product::marketPrice,
                                                       &Product::sold,        &Product::reviews};
    if (column == 0)
        return product.position > 0 ? IntToText(product.position) : std::string();
    if (column < 1 || column > static_cast<int>(std::size(fields)))
        return {};
    return product.*fields[column - 1];
}

std::vector<std::string> ProductIds(const RunProducts& products)
{
    std::vector<std::string> ids;
    ids.reserve(products.size());
    for (const Product& product : products)
        ids.push_back(product.id);
    return ids;
}

}  // namespace korvel
