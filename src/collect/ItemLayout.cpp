#include "collect/ItemLayout.h"

#include "collect/Patterns.h"
#include "text/Text.h"

namespace korvel {

namespace {

std::string TaobaoPatternText(bool hasMarketPrice)
{
    std::string text = TaobaoItemHead;
    if (hasMarketPrice)
        text += TaobaoMarketPricePart;
    return text + TaobaoSalesPart;
}

}  // namespace

ItemLayout ChooseItemLayout(ShopFamily family, const std::string& firstItemArea)
{
    ItemLayout layout;
    layout.family = family;
    if (family == ShopFamily::Tmall) {
        layout.patternText = TmallItemPattern;
    } else {
        layout.hasMarketPrice = FindText(firstItemArea, "s-price") != -1;
        layout.patternText = TaobaoPatternText(layout.hasMarketPrice);
    }
    layout.pattern = Pattern(layout.patternText);
    return layout;
}

CollectedItem ItemFromMatch(const Match& match, const ItemLayout& layout)
{
    CollectedItem item;
    item.productId = GroupText(match, 1);
    item.imageAddress = GroupText(match, 2);
    item.title = GroupText(match, 3);
    item.salePrice = GroupText(match, 4);
    if (layout.family == ShopFamily::Tmall) {
        item.marketPrice = item.soldCount = item.reviewText = MissingField;
    } else if (layout.hasMarketPrice) {
        item.marketPrice = GroupText(match, 5);
        item.soldCount = GroupText(match, 6);
        item.reviewText = GroupText(match, 7);
    } else {
        item.marketPrice = MissingField;
        item.soldCount = GroupText(match, 5);
        item.reviewText = GroupText(match, 6);
    }
    return item;
}

}  // namespace korvel
