#include "export/ProductColumns.h"

namespace korvel {

std::vector<std::string> ProductIds(const ListView& list)
{
    std::vector<std::string> ids(list.rows());
    for (size_t row = 0; row < ids.size(); ++row)
        ids[row] = list.cellText(static_cast<int>(row), ProductIdColumn);
    return ids;
}

}  // namespace korvel
