#include "app/ProductTableModel.h"

#include "app/GbkCodec.h"
#include "export/ProductColumns.h"

namespace korvel {
namespace {

QStringList Titles()
{
    QStringList titles;
    for (const ProductColumn& column : ProductListColumns)
        titles << QString::fromUtf8(column.title);
    return titles;
}

}  // namespace

ProductTableModel::ProductTableModel(QObject* parent)
    : BatchedTableModel(parent), titles_(Titles())
{
}

std::string ProductTableModel::cell(int row, int column) const
{
    return row >= 0 && row < rows() ? ProductCell(products_[size_t(row)], column) : std::string();
}

void ProductTableModel::clear()
{
    beginResetModel();
    products_.clear();
    forgetShownRows();
    endResetModel();
}

void ProductTableModel::append(ProductSlice products)
{
    products_.append(std::move(products));
    rowsAppended();
}

int ProductTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(titles_.size());
}

QVariant ProductTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || !shown(index.row()))
        return {};
    return FromGbk(cell(index.row(), index.column()));
}

QVariant ProductTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= titles_.size())
        return {};
    return titles_[section];
}

}  // namespace korvel
