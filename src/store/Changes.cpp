#include "store/Changes.h"

namespace korvel {
namespace {

using Field = std::string Product::*;

using FirstProducts = std::unordered_map<std::string_view, const Product*>;

// Each ID's first product in the run.
FirstProducts FirstById(const std::vector<Product>& products)
{
    FirstProducts first;
    first.reserve(products.size());
    for (const Product& product : products)
        first.try_emplace(product.id, &product);
    return first;
}

Change Compared(const Product& product, ChangeKind kind, const std::string& before, const std::string& after,
                bool withPercent)
{
    Change change{product.id, kind, before, after, std::nullopt, std::nullopt, product.title};
    const auto old = ReadDecimal(before);
    const auto now = ReadDecimal(after);
    if (!old || !now)
        return change;
    if (const auto delta = DecimalDifference(*now, *old)) {
        change.delta = DecimalText(*delta);
        if (withPercent)
            change.percent = PercentText(*delta, *old);
    }
    return change;
}

bool SameValue(const std::string& before, const std::string& after, bool numeric)
{
    if (before == after)
        return true;
    const auto old = numeric ? ReadDecimal(before) : std::nullopt;
    const auto now = numeric ? ReadDecimal(after) : std::nullopt;
    return old && now && CompareDecimals(*old, *now) == 0;
}

struct FieldRule {
    ChangeKind kind;
    Field field;
    bool numeric;
    bool withPercent;
};

constexpr FieldRule FieldRules[] = {
    {ChangeKind::Price, &Product::salePrice, true, true},
    {ChangeKind::MarketPrice, &Product::marketPrice, true, true},
    {ChangeKind::Title, &Product::title, false, false},
    {ChangeKind::Picture, &Product::picture, false, false},
    {ChangeKind::Sold, &Product::sold, true, true},
    {ChangeKind::Reviews, &Product::reviews, true, true},
};

void AddLowest(const Product& product, const LowestPrices& lowest, std::vector<Change>& out)
{
    const auto found = lowest.find(product.id);
    const auto price = ReadDecimal(product.salePrice);
    if (found == lowest.end() || !price || CompareDecimals(*price, found->second.value) >= 0)
        return;
    out.push_back(Compared(product, ChangeKind::Lowest, found->second.text, product.salePrice, true));
}

void AddFieldChanges(const Product& before, const Product& after, std::vector<Change>& out)
{
    for (const FieldRule& rule : FieldRules) {
        const std::string& old = before.*rule.field;
        const std::string& now = after.*rule.field;
        if (!SameValue(old, now, rule.numeric))
            out.push_back(Compared(after, rule.kind, old, now, rule.withPercent));
    }
}

}  // namespace

std::vector<Change> CompareRuns(const std::vector<Product>& earlier, const std::vector<Product>& latest,
                                bool latestComplete, const LowestPrices& lowest)
{
    const auto before = FirstById(earlier);
    const auto after = FirstById(latest);
    std::vector<Change> changes;
    for (const Product& product : latest) {
        if (after.at(product.id) != &product)
            continue;
        const auto old = before.find(product.id);
        if (old == before.end())
            changes.push_back({product.id, ChangeKind::New, std::nullopt, product.title, {}, {}, product.title});
        else
            AddFieldChanges(*old->second, product, changes);
        AddLowest(product, lowest, changes);
    }
    if (!latestComplete)
        return changes;
    for (const Product& product : earlier) {
        if (before.at(product.id) == &product && !after.contains(product.id))
            changes.push_back({product.id, ChangeKind::Removed, product.title, std::nullopt, {}, {}, product.title});
    }
    return changes;
}

const char* ChangeKindName(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::New: return "new";
    case ChangeKind::Removed: return "removed";
    case ChangeKind::Price: return "price";
    case ChangeKind::MarketPrice: return "market_price";
    case ChangeKind::Title: return "title";
    case ChangeKind::Picture: return "picture";
    case ChangeKind::Sold: return "sold";
    case ChangeKind::Reviews: return "reviews";
    case ChangeKind::Lowest: return "lowest";
    }
    return "";
}

}  // namespace korvel
