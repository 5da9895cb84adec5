#pragma once

// 超级列表框1 over the run's products: the slices the run hands out as it finds them, shared with
// the run's own record (no second copy), read by the view, the exports and the article import.
// Cells stay the page's GBK bytes; they are decoded only to be shown.

#include <QStringList>
#include <string>

#include "app/BatchedTableModel.h"
#include "collect/RunProducts.h"

namespace korvel {

class ProductTableModel : public BatchedTableModel {
    Q_OBJECT
public:
    explicit ProductTableModel(QObject* parent = nullptr);

    const RunProducts& products() const { return products_; }
    int rows() const override { return static_cast<int>(products_.size()); }
    // The cell as the list shows it, GBK; empty outside the list.
    std::string cell(int row, int column) const;

    void clear();
    void append(ProductSlice products);

    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList titles_;
    RunProducts products_;
};

}  // namespace korvel
