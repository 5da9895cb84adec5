#include "batch/RunList.h"

namespace korvel::batch {

std::string RunList::cellText(int row, int column) const
{
    const Product& p = run_.products.at(static_cast<size_t>(row));
    switch (column) {
        case 0: return std::to_string(p.position);
        case 1: return p.id;
        case 2: return p.picture;
        case 3: return p.title;
        case 4: return p.salePrice;
        case 5: return p.marketPrice;
        case 6: return p.sold;
        case 7: return p.reviews;
        default: return {};
    }
}

}  // namespace korvel::batch
