// What a collection run reads from the demo shop. The item patterns' lazy gaps may run from one
// entry into the next, so an entry lacking a piece the pattern asks for takes that piece, and the
// rest of the record, from the next entry that has it; the entries passed over are lost.

#include <algorithm>

#include "demo-shop/DemoShop.h"
#include "demo-shop/ShopCatalog.h"
#include "text/Gbk.h"

namespace korvel::demo {
namespace {

bool PageServesItems(const DemoShopOptions& options, int page)
{
    const auto fault = options.faults.find(page);
    return page <= options.pages &&
           (fault == options.faults.end() || fault->second == PageFault::None ||
            fault->second == PageFault::ErrorWithItems || fault->second == PageFault::CutShort);
}

// Page 1 must answer with exactly one paging element and at least one entry, else the run stops.
bool FirstPageStartsRun(const DemoShopOptions& options, Marketplace family)
{
    if (options.doublePaging || options.itemsPerPage <= 0 || !PageServesItems(options, 1))
        return false;
    return family == Marketplace::Taobao || !options.omitAsynLink;
}

std::vector<ShopItem> TmallPageRecords(const DemoShopOptions& options, int page)
{
    const std::string zero = "0";  // what the Tmall pattern leaves to the fill value
    std::vector<ShopItem> out;
    for (int i = 0; i < options.itemsPerPage; ++i) {
        ShopItem item = ListedItem(options, Marketplace::Tmall, page, i);
        item.marketPrice = zero;
        item.sold = zero;
        item.reviews = zero;
        out.push_back(std::move(item));
    }
    return out;
}

std::vector<ShopItem> TaobaoPageRecords(const DemoShopOptions& options, int page, bool hasMarketPrice)
{
    std::vector<ShopItem> out;
    const int n = options.itemsPerPage;
    const auto firstFrom = [&](int from, auto shows) {
        while (from < n && !shows(from))
            ++from;
        return from;
    };
    for (int k = 0; k < n;) {
        int priced = k;
        if (hasMarketPrice)
            priced =
                firstFrom(k, [&](int i) { return ShowsMarketPrice(options, Marketplace::Taobao, page, i); });
        const int sales = firstFrom(priced, [&](int i) { return ShowsSaleNum(options, page, i); });
        if (sales >= n)
            break;
        ShopItem item = ListedItem(options, Marketplace::Taobao, page, k);
        const ShopItem last = ListedItem(options, Marketplace::Taobao, page, sales);
        item.marketPrice =
            hasMarketPrice ? ListedItem(options, Marketplace::Taobao, page, priced).marketPrice : "0";
        item.sold = last.sold;
        item.reviews = last.reviews;
        out.push_back(std::move(item));
        k = sales + 1;
    }
    return out;
}

}  // namespace

std::vector<ShopItem> ExpectedItems(const DemoShopOptions& options, Marketplace family)
{
    std::vector<ShopItem> out;
    if (!FirstPageStartsRun(options, family))
        return out;
    const int pageCount = std::max(1, ReadPageCount(gbk::FromUtf8(ShownPageCount(options))));
    bool hasMarketPrice = false;
    for (int i = 0; i < options.itemsPerPage; ++i)
        hasMarketPrice = hasMarketPrice || ShowsMarketPrice(options, family, 1, i);
    for (int page = 1; page <= pageCount; ++page) {
        if (!PageServesItems(options, page))
            continue;
        auto records = family == Marketplace::Tmall ? TmallPageRecords(options, page)
                                                    : TaobaoPageRecords(options, page, hasMarketPrice);
        out.insert(out.end(), records.begin(), records.end());
    }
    return out;
}

}  // namespace korvel::demo
