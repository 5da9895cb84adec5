#include "collect/DiscoverPages.h"

#include "collect/FailureCause.h"
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

std::string WithCause(const std::string& message, const std::string& cause)
{
    return cause.empty() ? message : message + "\n" + cause;
}

std::variant<ShopPages, CollectionFailure, Abandoned> DiscoverPages(
    const std::string& address, const CollectionSettings& settings,
    const std::function<void(int)>& pageCountRead, const PageSource& fetch)
{
    const auto family = ClassifyShopAddress(address);
    if (!family)
        return CollectionFailure{RunFailure::UnsupportedShop, {}};

    ShopPages pages;
    pages.family = *family;
    std::optional<FetchedPage> shopPage;
    if (pages.family == ShopFamily::Tmall) {
        shopPage = fetch(TmallShopPageRequest(address));
        if (!shopPage)
            return Abandoned{};
        pages.tmallQuery = AreaBetween(shopPage->text, settings.tmallQueryStart, settings.tmallQueryEnd);
    }
    const std::optional<FetchedPage> first = fetch(ResultPageRequest(pages.family, address, pages.tmallQuery, 1));
    if (!first)
        return Abandoned{};
    // Whatever body arrived is read: a page that failed may still carry its paging and products.
    pages.pageText = first->text;
    pages.firstFetch = {{}, first->outcome, first->retries};

    const Pattern pagePattern(pages.family == ShopFamily::Tmall ? TmallPagePattern : TaobaoPagePattern);
    const auto matches = FindAllMatches(pagePattern, pages.pageText);
    if (matches.size() != 1) {
        std::string cause = CauseWithRetries(*first);
        if (cause.empty() && shopPage)
            cause = CauseWithRetries(*shopPage);
        if (cause.empty())
            cause = NoPagingCause(*first);
        return CollectionFailure{RunFailure::NoPageInfo, cause};
    }

    const int pagesRead = ToInteger(GroupText(matches.front(), 2));
    pageCountRead(pagesRead);
    pages.pageCount = pagesRead > 1 ? pagesRead : 1;
    pages.itemArea = ItemAreaOf(pages.family, pages.pageText, settings.itemAreaStart, settings.itemAreaEnd);
    return pages;
}

}  // namespace korvel
