#include "collect/ResultPages.h"

#include "text/Text.h"
#include "web/HttpRequest.h"

namespace korvel {

namespace {

constexpr int Get = 0;
constexpr int Post = 1;

}  // namespace

std::string FetchPageText(const std::string& url)
{
    return BytesToText(HttpRequest(url, Get));
}

std::string ResultPageUrl(ShopFamily family, const std::string& address, const std::string& tmallQuery,
                          int page)
{
    if (family == ShopFamily::Taobao)
        return "https://" + address + "/search.htm";
    return "https://" + address + "/i/asynSearch.htm?" + tmallQuery +
           "&path=/search.htm&search=y&pageNo=" + IntToText(page);
}

std::string RequestResultPage(ShopFamily family, const std::string& address, const std::string& tmallQuery,
                              int page)
{
    const std::string url = ResultPageUrl(family, address, tmallQuery, page);
    if (family == ShopFamily::Tmall)
        return BytesToText(HttpRequest(url, Post));
    HttpOptions options;
    options.postText = "pageNo=" + IntToText(page);
    return BytesToText(HttpRequest(url, Post, std::move(options)));
}

std::string TmallShopPageUrl(const std::string& address)
{
    return "https://" + address + "/search.htm?search=y&pageNo=1";
}

}  // namespace korvel
