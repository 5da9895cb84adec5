#pragma once

// A report-style list whose cells stay the GBK bytes they were given: an export must write the
// bytes as they came, even ones that are not valid GBK. Cells are decoded only to be shown; rows
// reach the view in batches (BatchedTableModel).

#include <QStringList>
#include <string>
#include <vector>

#include "app/BatchedTableModel.h"
#include "export/ExportScreen.h"

namespace korvel {

class GbkTableModel : public BatchedTableModel, public ListView {
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

    std::string cellText(int row, int column) const override { return cell(row, column); }

    int columnCount(const QModelIndex& parent) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    bool valid(int row, int column) const;

    QStringList titles_;
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace korvel
