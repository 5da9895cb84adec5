#include "app/GbkTableModel.h"

#include "app/GbkCodec.h"

namespace korvel {
namespace {

const std::string kNoCell;

}  // namespace

GbkTableModel::GbkTableModel(QStringList titles, QObject* parent)
    : BatchedTableModel(parent), titles_(std::move(titles))
{
}

void GbkTableModel::clear()
{
    beginResetModel();
    rows_.clear();
    forgetShownRows();
    endResetModel();
}

void GbkTableModel::appendRow()
{
    appendRow(std::vector<std::string>(titles_.size()));
}

void GbkTableModel::appendRow(std::vector<std::string> cells)
{
    cells.resize(titles_.size());
    rows_.push_back(std::move(cells));
    rowsAppended();
}

void GbkTableModel::setCell(int row, int column, const std::string& gbk)
{
    if (!valid(row, column)) {
        return;
    }
    rows_[row][column] = gbk;
    if (shown(row)) {
        const QModelIndex at = index(row, column);
        emit dataChanged(at, at, {Qt::DisplayRole});
    }
}

const std::string& GbkTableModel::cell(int row, int column) const
{
    return valid(row, column) ? rows_[row][column] : kNoCell;
}

bool GbkTableModel::valid(int row, int column) const
{
    return row >= 0 && row < rows() && column >= 0 && column < columns();
}

int GbkTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns();
}

QVariant GbkTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || !shown(index.row())) {
        return {};
    }
    return FromGbk(cell(index.row(), index.column()));
}

QVariant GbkTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= columns()) {
        return {};
    }
    return titles_[section];
}

}  // namespace korvel
