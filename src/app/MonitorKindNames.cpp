#include "app/MonitorPage.h"

#include <QString>

namespace korvel {

QString ChangeKindCaption(const Change& change)
{
    switch (change.kind) {
    case ChangeKind::New: return QStringLiteral("新上架");
    case ChangeKind::Removed: return QStringLiteral("已下架");
    case ChangeKind::Price:
        // A price that is not a number on one side went neither up nor down.
        if (!change.delta)
            return QStringLiteral("价格变化");
        return change.delta->starts_with('-') ? QStringLiteral("降价") : QStringLiteral("涨价");
    case ChangeKind::MarketPrice: return QStringLiteral("市场价变化");
    case ChangeKind::Title: return QStringLiteral("标题变化");
    case ChangeKind::Picture: return QStringLiteral("图片变化");
    case ChangeKind::Sold: return QStringLiteral("销量变化");
    case ChangeKind::Reviews: return QStringLiteral("评论变化");
    case ChangeKind::Lowest: return QStringLiteral("历史最低");
    }
    return {};
}

}  // namespace korvel
