#pragma once

// A table whose appended rows reach the view in batches, at most every 50 ms: a view told of every
// row repaints per row, which turns 100,000 products into minutes. rows() counts every row at once,
// so readers see what is there even before the view has caught up.

#include <QAbstractTableModel>

#include "app/Throttle.h"

namespace korvel {

class BatchedTableModel : public QAbstractTableModel {
public:
    explicit BatchedTableModel(QObject* parent = nullptr);

    // Every row held, announced or not.
    virtual int rows() const = 0;
    // Tells the view about every pending row now.
    void flush();

    // Counts only the rows already announced.
    int rowCount(const QModelIndex& parent) const override;

protected:
    // Call after appending rows, and within a model reset after emptying the table.
    void rowsAppended();
    void forgetShownRows() { shownRows_ = 0; }
    bool shown(int row) const { return row < shownRows_; }

private:
    void announcePending();

    int shownRows_ = 0;
    Throttle announce_;
};

}  // namespace korvel
