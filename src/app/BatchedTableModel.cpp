#include "app/BatchedTableModel.h"

namespace korvel {
namespace {

constexpr int kFlushIntervalMs = 50;

}  // namespace

BatchedTableModel::BatchedTableModel(QObject* parent)
    : QAbstractTableModel(parent), announce_(kFlushIntervalMs, [this] { announcePending(); })
{
}

void BatchedTableModel::flush()
{
    announce_.flush();
}

void BatchedTableModel::rowsAppended()
{
    announce_.poke();
}

void BatchedTableModel::announcePending()
{
    if (shownRows_ >= rows())
        return;
    beginInsertRows({}, shownRows_, rows() - 1);
    shownRows_ = rows();
    endInsertRows();
}

int BatchedTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRows_;
}

}  // namespace korvel
