// Every failure switch produces the answer a real shop gave when it went wrong, on the page it
// names and no other.

#include <gtest/gtest.h>

#include "ShopWalk.h"
#include "collect/Pattern.h"
#include "collect/Patterns.h"
#include "collect/ShopAddress.h"
#include "support/LocalServer.h"

namespace korvel::test {
namespace {

using demo::PageFault;

demo::DemoShopOptions Options()
{
    demo::DemoShopOptions o;
    o.pages = 6;
    o.itemsPerPage = 3;
    o.tls = TestTls();
    return o;
}

std::size_t Count(const std::string& text, const char* pattern)
{
    return FindAllMatches(Pattern(pattern), text).size();
}

TEST(ShopFaults, EachKindAnswersAsConfiguredOnItsPageOnly)
{
    auto o = Options();
    o.faults = {{2, PageFault::ServerError},
                {3, PageFault::EmptyBody},
                {4, PageFault::DropConnection},
                {5, PageFault::LoginPage},
                {6, PageFault::NoItems}};
    demo::DemoShop shop(o);
    ASSERT_TRUE(shop.start());
    const ShopClient taobao(shop, "shop1.taobao.com");

    const Fetched fine = taobao.taobaoPage(1);
    EXPECT_EQ(fine.status, 200);
    EXPECT_EQ(Count(fine.body, "data-id"), 3u);
    EXPECT_EQ(taobao.taobaoPage(2).status, 500);
    const Fetched empty = taobao.taobaoPage(3);
    EXPECT_EQ(empty.status, 200);
    EXPECT_TRUE(empty.body.empty());
    EXPECT_EQ(taobao.taobaoPage(4).status, -1) << "the connection must break off mid-answer";
    const Fetched login = taobao.taobaoPage(5);
    EXPECT_EQ(login.status, 200);
    EXPECT_EQ(Count(login.body, TaobaoPagePattern), 0u);
    EXPECT_NE(login.body.find("TPL_password"), std::string::npos);
    const Fetched noItems = taobao.taobaoPage(6);
    EXPECT_EQ(Count(noItems.body, TaobaoPagePattern), 1u);
    EXPECT_EQ(Count(noItems.body, "data-id"), 0u);

    // The Tmall side shares the switches.
    const ShopClient tmall(shop, "shop1.tmall.com");
    EXPECT_EQ(tmall.tmallPage(shop.tmallQuery(), 2).status, 500);
    EXPECT_EQ(tmall.tmallPage(shop.tmallQuery(), 4).status, -1);
    EXPECT_EQ(Count(tmall.tmallPage(shop.tmallQuery(), 5).body, TmallPagePattern), 0u);
    EXPECT_EQ(Count(tmall.tmallPage(shop.tmallQuery(), 1).body, TmallPagePattern), 1u);
}

// The switches the fault server plays for the shop: statuses, resets and redirects.
TEST(ShopFaults, NetworkFaultsArePlayedOnTheirPage)
{
    auto o = Options();
    o.faults = {{2, PageFault::TooManyRequests},
                {3, PageFault::ResetMidBody},
                {4, PageFault::RedirectLoop},
                {5, PageFault::LoginRedirect},
                {6, PageFault::SliderPage}};
    demo::DemoShop shop(o);
    ASSERT_TRUE(shop.start());
    const ShopClient taobao(shop, "shop1.taobao.com");
    EXPECT_EQ(taobao.taobaoPage(1).status, 200);
    EXPECT_EQ(taobao.taobaoPage(2).status, 429);
    EXPECT_EQ(taobao.taobaoPage(3).status, -1) << "the connection must be reset mid-answer";
    EXPECT_EQ(taobao.taobaoPage(4).status, 307);
    EXPECT_EQ(taobao.taobaoPage(5).status, 302);
    const Fetched slider = taobao.taobaoPage(6);
    EXPECT_EQ(slider.status, 200);
    EXPECT_NE(slider.body.find("nc_1_n1z"), std::string::npos);
    EXPECT_EQ(Count(slider.body, TaobaoPagePattern), 0u);
}

TEST(ShopFaults, PagingElementDoubledOnPageOneAndCountAsGiven)
{
    auto o = Options();
    o.doublePaging = true;
    o.shownPageCount = "0";
    demo::DemoShop shop(o);
    ASSERT_TRUE(shop.start());
    const ShopClient taobao(shop, "shop1.taobao.com");
    const ShopClient tmall(shop, "shop1.tmall.com");
    EXPECT_EQ(Count(taobao.taobaoPage(1).body, TaobaoPagePattern), 2u);
    EXPECT_EQ(Count(tmall.tmallPage(shop.tmallQuery(), 1).body, TmallPagePattern), 2u);
    const auto second = FindAllMatches(Pattern(TaobaoPagePattern), taobao.taobaoPage(2).body);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(GroupText(second[0], 1), "2");
    EXPECT_EQ(GroupText(second[0], 2), "0");
}

TEST(ShopFaults, TmallQueryLinkFollowsTheMarkersSwitches)
{
    auto o = Options();
    o.upperCaseMarkers = true;
    demo::DemoShop shop(o);
    ASSERT_TRUE(shop.start());
    const ShopClient tmall(shop, "shop1.tmall.com");
    const std::string page = tmall.tmallShopPage().body;
    EXPECT_EQ(page.find(TmallQueryStart), std::string::npos) << "the link is written in capitals";
    EXPECT_EQ(AreaBetween(page, TmallQueryStart, TmallQueryEnd), shop.tmallQuery());

    o.omitAsynLink = true;
    shop.setOptions(o);
    const std::string query = AreaBetween(tmall.tmallShopPage().body, TmallQueryStart, TmallQueryEnd);
    EXPECT_EQ(query, "");
    // Without the shop's own mid/wid the asynchronous search knows no such shop.
    EXPECT_EQ(Count(tmall.tmallPage(query, 1).body, TmallPagePattern), 0u);
    EXPECT_EQ(Count(tmall.tmallPage("mid=w-1-0&wid=1", 1).body, "data-id"), 0u);
}

}  // namespace
}  // namespace korvel::test
