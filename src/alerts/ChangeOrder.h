#pragma once

// The order an alert lists changes in: kind by kind, money first, and within a kind the biggest
// change first, so that a message cut to a chat's size keeps what matters most.

#include <string>
#include <vector>

#include "export/ChangeExport.h"

namespace korvel::alerts {

struct KindGroup {
    std::string kind;  // ChangeKindName
    std::vector<const ChangeRow*> rows;
};

// The kinds in the alert's order: price, lowest, market_price, new, removed, title, picture, sold,
// reviews; each group's rows by the size of the change (absolute percent, then absolute delta; a
// change from 0, which has a delta and no percent, counts as the biggest), the report's order
// among equals and for kinds that have no size. The groups point into `rows`.
std::vector<KindGroup> GroupBiggestFirst(const std::vector<ChangeRow>& rows);

}  // namespace korvel::alerts
