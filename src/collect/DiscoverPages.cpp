#include "collect/DiscoverPages.h"

#include "collect/Messages.h"
#include "collect/Pattern.h"
#include "collect/Patterns.h"
#include "collect/ResultPages.h"
#include "text/Text.h"

namespace korvel {

CollectionSettings DefaultCollectionSettings()
{
    return {R"(<div class="shop-hesper-bd grid">)", "<!--END OF  pagination-->", "/i/asynSearch.htm?",
            "&path=/search.htm&&amp;search=y"};
}

std::string ItemAreaOf(ShopFamily family, const std::string& pageText, const std::string& itemAreaStart,
                       const std::string& itemAreaEnd)
{
    if (family == ShopFamily::Tmall)
        return AreaBetween(pageText, "J_TItems", "pagination");
    return AreaBetween(pageText, itemAreaStart, itemAreaEnd);
}

std::variant<ShopPages, CollectionFailure> DiscoverPages(
    const std::string& address, const CollectionSettings& settings,
    const std::function<void(const std::string&)>& setPageCountLabel)
{
    const auto family = ClassifyShopAddress(address);
    if (!family)
        return CollectionFailure{collect_text::UnsupportedShop, collect_text::UnsupportedShopTitle};

    ShopPages pages;
    pages.family = *family;
    if (pages.family == ShopFamily::Tmall) {
        const std::string shopPage = FetchPageText(TmallShopPageUrl(address));
        pages.tmallQuery = AreaBetween(shopPage, settings.tmallQueryStart, settings.tmallQueryEnd);
    }
    pages.pageText = RequestResultPage(pages.family, address, pages.tmallQuery, 1);

    const Pattern pagePattern(pages.family == ShopFamily::Tmall ? TmallPagePattern : TaobaoPagePattern);
    const auto matches = FindAllMatches(pagePattern, pages.pageText);
    if (matches.size() != 1)
        return CollectionFailure{collect_text::NoPageInfo, collect_text::NoPageInfoTitle};

    const int pagesRead = ToInteger(GroupText(matches.front(), 2));
    setPageCountLabel(collect_text::PageCountPrefix + IntToText(pagesRead));
    pages.pageCount = pagesRead > 1 ? pagesRead : 1;
    pages.itemArea = ItemAreaOf(pages.family, pages.pageText, settings.itemAreaStart, settings.itemAreaEnd);
    return pages;
}

}  // namespace korvel
