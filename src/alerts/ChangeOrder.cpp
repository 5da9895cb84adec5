#include "alerts/ChangeOrder.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "store/Decimal.h"

namespace korvel::alerts {
namespace {

constexpr std::string_view KindOrder[] = {"price", "lowest",  "market_price", "new",    "removed",
                                          "title", "picture", "sold",         "reviews"};

std::optional<Decimal> Magnitude(const std::optional<std::string>& text)
{
    std::optional<Decimal> value = text ? ReadDecimal(*text) : std::nullopt;
    if (value && value->units < 0)
        value->units = -value->units;
    return value;
}

struct Size {
    int tier = 2;  // 0: from zero, 1: with a percent, 2: no number
    std::optional<Decimal> percent;
    std::optional<Decimal> delta;
};

Size SizeOf(const ChangeRow& row)
{
    Size size{2, Magnitude(row.percent), Magnitude(row.delta)};
    if (size.percent)
        size.tier = 1;
    else if (size.delta)
        size.tier = 0;
    return size;
}

// Negative, zero or positive as a is smaller than, as big as or bigger than b.
int CompareOptional(const std::optional<Decimal>& a, const std::optional<Decimal>& b)
{
    if (a && b)
        return CompareDecimals(*a, *b);
    return int(a.has_value()) - int(b.has_value());
}

bool Bigger(const Size& a, const Size& b)
{
    if (a.tier != b.tier)
        return a.tier < b.tier;
    if (const int percent = CompareOptional(a.percent, b.percent); percent != 0)
        return percent > 0;
    return CompareOptional(a.delta, b.delta) > 0;
}

size_t RankOf(std::string_view kind)
{
    return size_t(std::find(std::begin(KindOrder), std::end(KindOrder), kind) - std::begin(KindOrder));
}

}  // namespace

std::vector<KindGroup> GroupBiggestFirst(const std::vector<ChangeRow>& rows)
{
    std::vector<KindGroup> groups;
    for (const ChangeRow& row : rows) {
        auto group = std::find_if(groups.begin(), groups.end(), [&](const KindGroup& g) { return g.kind == row.kind; });
        if (group == groups.end())
            group = groups.insert(groups.end(), {row.kind, {}});
        group->rows.push_back(&row);
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const KindGroup& a, const KindGroup& b) { return RankOf(a.kind) < RankOf(b.kind); });
    for (KindGroup& group : groups) {
        std::vector<std::pair<Size, const ChangeRow*>> sized;
        for (const ChangeRow* row : group.rows)
            sized.emplace_back(SizeOf(*row), row);
        std::stable_sort(sized.begin(), sized.end(), [](const auto& a, const auto& b) { return Bigger(a.first, b.first); });
        for (size_t i = 0; i < sized.size(); ++i)
            group.rows[i] = sized[i].second;
    }
    return groups;
}

}  // namespace korvel::alerts
