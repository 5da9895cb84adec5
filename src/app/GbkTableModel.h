#pragma once

// A report-style list whose cells stay the GBK bytes they were given: the exports must write a
// page's own bytes, even ones that are not valid GBK. Cells are decoded only to be shown.
//
// Appended rows reach the view in batches, at most every 50 ms: a view told of every row repaints
// per row, which turns 100,000 products into minutes. rows() counts every row at once, so the
// exports read what is there even before the view has caught up.

#include <QAbstractTableModel>
#include <QStringList>
#include <string>
#include <vector>

#include "app/Throttle.h"
#include "export/ExportScreen.h"

namespace korvel {

class GbkTableModel : public QAbstractTableModel, public ListView {
    Q_OBJECT
public:
    explicit GbkTableModel(QStringList titles, QObject* parent = nullptr);

    // ListView and the list operations the core uses; rows and columns count from 0.
    int rows() const override { return static_cast<int>(rows_.size()); }
    int columns() const override { return static_cast<int>(titles_.size()); }
    void clear();
    void appendRow();
    void setCell(int row, int column, const std::string& gbk);
    const std::string& cell(int row, int column) const;
    void appendRow(std::vector<std::string> cells);

    // Tells the view about every pending row now.
    void flush();

    std::string cellText(int row, int column) const override { return cell(row, column); }

    // QAbstractTableModel, read by the view: rowCount() counts only the rows already announced.
    int rowCount(const QModelIndex& parent) const override;
    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void announcePending();
    bool valid(int row, int column) const;

    QStringList titles_;
    std::vector<std::vector<std::string>> rows_;
    int shownRows_ = 0;
    Throttle announce_;
};

}  // namespace korvel
