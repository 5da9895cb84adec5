#include "ShopWalk.h"

#include <httplib.h>

#include "collect/ItemLayout.h"
#include "collect/Patterns.h"
#include "collect/ShopAddress.h"
#include "text/Text.h"

namespace korvel::test {

ShopClient::ShopClient(const demo::DemoShop& shop, std::string host)
    : ShopClient(shop.port(), shop.caFile(), std::move(host))
{
}

ShopClient::ShopClient(int port, std::string caFile, std::string host)
    : port_(port), caFile_(std::move(caFile)), host_(std::move(host))
{
}

Fetched ShopClient::send(const std::string& method, const std::string& target, const std::string& body) const
{
    httplib::SSLClient client("127.0.0.1", port_);
    client.set_ca_cert_path(caFile_.c_str());
    client.enable_server_certificate_verification(true);
    const httplib::Headers headers = {{"Host", host_}};
    auto res = method == "GET"
                   ? client.Get(target.c_str(), headers)
                   : client.Post(target.c_str(), headers, body, "application/x-www-form-urlencoded");
    if (!res)
        return {};
    return {res->status, res->body, res->get_header_value("Content-Type")};
}

Fetched ShopClient::taobaoPage(int page) const
{
    return send("POST", "/search.htm", "pageNo=" + std::to_string(page));
}

Fetched ShopClient::tmallShopPage() const
{
    return send("GET", "/search.htm?search=y&pageNo=1", "");
}

Fetched ShopClient::tmallPage(const std::string& query, int page) const
{
    return send("POST",
                "/i/asynSearch.htm?" + query + "&path=/search.htm&search=y&pageNo=" + std::to_string(page),
                "");
}

std::vector<demo::ShopItem> WalkShop(const demo::DemoShop& shop, demo::Marketplace family)
{
    const bool tmall = family == demo::Marketplace::Tmall;
    const ShopClient client(shop, tmall ? "shop7.tmall.com" : "shop7.taobao.com");
    const std::string query =
        tmall ? AreaBetween(client.tmallShopPage().body, TmallQueryStart, TmallQueryEnd) : "";
    const auto page = [&](int n) {
        return tmall ? client.tmallPage(query, n).body : client.taobaoPage(n).body;
    };
    const ShopFamily shopFamily = tmall ? ShopFamily::Tmall : ShopFamily::Taobao;
    const auto area = [&](const std::string& text) {
        return tmall ? AreaBetween(text, TmallAreaStart, TmallAreaEnd)
                     : AreaBetween(text, TaobaoAreaStart, TaobaoAreaEnd);
    };

    const std::string first = page(1);
    const auto paging = FindAllMatches(Pattern(tmall ? TmallPagePattern : TaobaoPagePattern), first);
    if (paging.size() != 1)
        return {};
    const int pageCount = std::max(1, static_cast<int>(ToInteger(GroupText(paging[0], 2))));
    const ItemLayout layout = ChooseItemLayout(shopFamily, area(first));
    std::vector<demo::ShopItem> out;
    for (int n = 1; n <= pageCount; ++n) {
        for (const Match& m : FindAllMatches(layout.pattern, area(n == 1 ? first : page(n)))) {
            const CollectedItem c = ItemFromMatch(m, layout);
            out.push_back({c.productId, c.imageAddress, c.title, c.salePrice, c.marketPrice, c.soldCount,
                           c.reviewText});
        }
    }
    return out;
}

}  // namespace korvel::test
