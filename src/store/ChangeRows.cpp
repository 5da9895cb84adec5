#include "store/ChangeRows.h"

#include "export/HtmlEntities.h"
#include "text/Gbk.h"

namespace korvel {
namespace {

bool IsTitleField(ChangeKind kind)
{
    return kind == ChangeKind::Title || kind == ChangeKind::New || kind == ChangeKind::Removed;
}

std::optional<std::string> FieldText(const std::optional<std::string>& gbk, bool title)
{
    if (!gbk)
        return std::nullopt;
    std::string utf8 = gbk::ToUtf8(*gbk);
    return title ? DecodeCharacterReferences(utf8) : utf8;
}

}  // namespace

std::vector<ChangeRow> ChangeRows(const ChangeReport& report)
{
    std::vector<ChangeRow> rows;
    const std::string shop = gbk::ToUtf8(report.after.shopHost);
    for (const Change& change : report.changes) {
        const bool title = IsTitleField(change.kind);
        rows.push_back({shop, gbk::ToUtf8(change.id), ChangeKindName(change.kind), FieldText(change.before, title),
                        FieldText(change.after, title), change.delta, change.percent,
                        DecodeCharacterReferences(gbk::ToUtf8(change.title)), report.before.number,
                        report.after.number});
    }
    return rows;
}

}  // namespace korvel
