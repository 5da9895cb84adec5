#pragma once

// A recorded run seen as the product list the exports read: the same eight columns the window
// shows, so a batch's CSV is byte for byte the single-shop command's.

#include "collect/CollectionRun.h"
#include "export/ExportScreen.h"

namespace korvel::batch {

class RunList : public ListView {
public:
    explicit RunList(const CollectionRun& run) : run_(run) {}
    int rows() const override { return static_cast<int>(run_.products.size()); }
    int columns() const override { return 8; }
    std::string cellText(int row, int column) const override;

private:
    const CollectionRun& run_;
};

}  // namespace korvel::batch
