#include "alerts/ChangeLine.h"

#include "alerts/Inert.h"
#include "alerts/Utf8Cut.h"

namespace korvel::alerts {
namespace {

// A chat line has room for about this much of a title; the ID finds the rest.
constexpr std::size_t TitleCharacters = 24;

struct Caption {
    std::string_view kind;
    std::string_view words;
};

constexpr Caption Captions[] = {
    {"price", "价格"},   {"lowest", "历史最低价"}, {"market_price", "市场价"}, {"new", "新上架"},
    {"removed", "已下架"}, {"title", "标题"},        {"picture", "图片"},        {"sold", "销量"},
    {"reviews", "评论数"},
};

std::string Field(const std::optional<std::string>& text, Rendering rendering)
{
    return Inert(ShortenUtf8(text.value_or(""), TitleCharacters), rendering);
}

// "（+3.50%）" or, from 0, "（+12）"; nothing when the two sides are not numbers.
std::string Size(const ChangeRow& row)
{
    const std::optional<std::string>& size = row.percent ? row.percent : row.delta;
    if (!size)
        return {};
    const std::string sign = size->starts_with('-') ? "" : "+";
    return "（" + sign + *size + (row.percent ? "%" : "") + "）";
}

std::string Details(const ChangeRow& row, Rendering rendering)
{
    if (row.kind == "new" || row.kind == "removed")
        return {};
    if (row.kind == "picture")
        return "：图片已更换";
    return "：" + Field(row.before, rendering) + " → " + Field(row.after, rendering) + Size(row);
}

}  // namespace

std::string KindCaption(std::string_view kind)
{
    for (const Caption& caption : Captions) {
        if (caption.kind == kind)
            return std::string(caption.words);
    }
    return std::string(kind);
}

std::string ChangeLine(const ChangeRow& row, Rendering rendering)
{
    const std::string bullet = rendering == Rendering::Markdown ? "- " : "· ";
    // A title change shows both titles; its own title would only repeat the new one.
    const std::string name = row.kind == "title" ? "" : Inert(ShortenUtf8(row.title, TitleCharacters), rendering);
    return bullet + name + "（ID " + Inert(row.id, rendering) + "）" + Details(row, rendering);
}

}  // namespace korvel::alerts
