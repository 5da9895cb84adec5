#include "collect/ResultPages.h"

#include "text/Text.h"

namespace korvel {

namespace {

constexpr int Get = 0;
constexpr int Post = 1;

}  // namespace

std::string ResultPageUrl(ShopFamily family, const std::string& address, const std::string& tmallQuery,
                          int page)
{
    if (family == ShopFamily::Taobao)
        return "https://" + address + "/search.htm";
    return "https://" + address + "/i/asynSearch.htm?" + tmallQuery +
           "&path=/search.htm&search=y&pageNo=" + IntToText(page);
}

PageRequest ResultPageRequest(ShopFamily family, const std::string& address, const std::string& tmallQuery,
                              int page)
{
    const std::string url = ResultPageUrl(family, address, tmallQuery, page);
    if (family == ShopFamily::Tmall)
        return {url, Post, {}};
    return {url, Post, "pageNo=" + IntToText(page)};
}

PageRequest TmallShopPageRequest(const std::string& address)
{
    return {TmallShopPageUrl(address), Get, {}};
}

std::string TmallShopPageUrl(const std::string& address)
{
    return "https://" + address + "/search.htm?search=y&pageNo=1";
}

}  // namespace korvel
