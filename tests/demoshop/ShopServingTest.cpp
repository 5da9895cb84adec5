// What the shop serves beside the page contents: GBK bytes, any host name, a request log tests
// can inspect, and options that change between requests.

#include <gtest/gtest.h>

#include "ShopWalk.h"
#include "collect/GbkDecode.h"
#include "collect/Pattern.h"
#include "support/LocalServer.h"

namespace korvel::test {
namespace {

demo::DemoShopOptions Options()
{
    demo::DemoShopOptions o;
    o.pages = 2;
    o.itemsPerPage = 2;
    o.tls = TestTls();
    return o;
}

TEST(ShopServing, PagesAreGbkBytesWithChineseTitles)
{
    demo::DemoShop shop(Options());
    ASSERT_TRUE(shop.start());
    const Fetched page = ShopClient(shop, "shop1.taobao.com").taobaoPage(1);
    EXPECT_NE(page.contentType.find("GBK"), std::string::npos);
    EXPECT_NE(page.body.find("\xD2\xD1\xCA\xDB\xA3\xBA"), std::string::npos) << "已售： in GBK";
    const demo::ShopItem item = ListedItem(Options(), demo::Marketplace::Taobao, 1, 1);
    EXPECT_NE(page.body.find(">" + item.title + "</a>"), std::string::npos);
    const std::string title = DecodeGbk(item.title);
    EXPECT_GT(title.size(), item.title.size()) << "a title holds Chinese characters";
    EXPECT_NE(DecodeGbk(page.body).find(title), std::string::npos);
}

TEST(ShopServing, AnyHostIsServedAndEveryRequestIsLogged)
{
    demo::DemoShop shop(Options());
    ASSERT_TRUE(shop.start());
    EXPECT_EQ(shop.connectTo("a.taobao.com"), "a.taobao.com:443:127.0.0.1:" + std::to_string(shop.port()));
    EXPECT_EQ(ShopClient(shop, "anything.example").taobaoPage(2).status, 200);
    ShopClient(shop, "x.tmall.com").tmallPage(shop.tmallQuery(), 1);

    const auto log = shop.requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].method, "POST");
    EXPECT_EQ(log[0].path, "/search.htm");
    EXPECT_EQ(log[0].body, "pageNo=2");
    ASSERT_EQ(log[0].headers.count("Host"), 1u);
    EXPECT_EQ(log[0].headers.find("Host")->second, "anything.example");
    EXPECT_EQ(log[1].target,
              "/i/asynSearch.htm?" + shop.tmallQuery() + "&path=/search.htm&search=y&pageNo=1");
    EXPECT_EQ(log[1].body, "");

    shop.clearRequests();
    EXPECT_TRUE(shop.requests().empty());
}

TEST(ShopServing, NewOptionsTakeEffectAtTheNextRequest)
{
    demo::DemoShop shop(Options());
    ASSERT_TRUE(shop.start());
    const ShopClient client(shop, "shop1.taobao.com");
    const auto entries = [&](int page) {
        return FindAllMatches(Pattern("data-id"), client.taobaoPage(page).body).size();
    };
    EXPECT_EQ(entries(1), 2u);
    auto o = Options();
    o.itemsPerPage = 4;
    o.faults = {{2, demo::PageFault::ServerError}};
    shop.setOptions(o);
    EXPECT_EQ(entries(1), 4u) << "a page served before is built anew";
    EXPECT_EQ(client.taobaoPage(2).status, 500);
}

}  // namespace
}  // namespace korvel::test
