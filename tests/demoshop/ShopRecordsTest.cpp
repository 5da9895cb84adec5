// The shop's pages, read with the collector's own markers and patterns, give exactly the records
// ExpectedItems predicts, for every shape of shop the options can make.

#include <gtest/gtest.h>

#include "ShopWalk.h"
#include "support/LocalServer.h"

namespace korvel::test {
namespace {

using demo::DemoShopOptions;
using demo::Marketplace;
using demo::MarketPrices;
using demo::PageFault;

struct ShopCase {
    const char* name;
    DemoShopOptions options;
};

DemoShopOptions Shop(int pages, int items)
{
    DemoShopOptions o;
    o.pages = pages;
    o.itemsPerPage = items;
    o.tls = TestTls();
    return o;
}

DemoShopOptions With(DemoShopOptions o, void (*change)(DemoShopOptions&))
{
    change(o);
    return o;
}

std::vector<ShopCase> Cases()
{
    return {
        {"plain", Shop(3, 5)},
        {"withoutMarketPrices", With(Shop(2, 4), [](auto& o) { o.marketPrices = MarketPrices::None; })},
        {"alternateMarketPrices",
         With(Shop(3, 5), [](auto& o) { o.marketPrices = MarketPrices::Alternate; })},
        {"marketPricesAfterPageOne",
         With(Shop(3, 4), [](auto& o) { o.marketPrices = MarketPrices::NotOnFirstPage; })},
        {"missingSaleNum", With(Shop(2, 5),
                                [](auto& o) {
                                    o.withoutSaleNum = {{1, 1}, {2, 4}};
                                })},
        {"upperCaseMarkers", With(Shop(2, 3), [](auto& o) { o.upperCaseMarkers = true; })},
        {"failingPages", With(Shop(5, 3),
                              [](auto& o) {
                                  o.faults = {{2, PageFault::ServerError},
                                              {3, PageFault::DropConnection},
                                              {4, PageFault::NoItems}};
                              })},
        {"loginOnPageTwo", With(Shop(3, 2),
                                [](auto& o) {
                                    o.faults = {{2, PageFault::LoginPage}};
                                })},
        {"emptyFirstPage", With(Shop(3, 2),
                                [](auto& o) {
                                    o.faults = {{1, PageFault::EmptyBody}};
                                })},
        {"pageCountZero", With(Shop(3, 2), [](auto& o) { o.shownPageCount = "0"; })},
        {"pageCountBeyondShop", With(Shop(2, 2), [](auto& o) { o.shownPageCount = "4"; })},
        {"doublePaging", With(Shop(2, 2), [](auto& o) { o.doublePaging = true; })},
        {"noProducts", Shop(2, 0)},
        {"noAsynLink", With(Shop(2, 2), [](auto& o) { o.omitAsynLink = true; })},
    };
}

class ShopRecords : public ::testing::TestWithParam<ShopCase> {};

TEST_P(ShopRecords, CollectorReadsWhatExpectedItemsPredicts)
{
    demo::DemoShop shop(GetParam().options);
    ASSERT_TRUE(shop.start());
    for (const Marketplace family : {Marketplace::Taobao, Marketplace::Tmall}) {
        SCOPED_TRACE(family == Marketplace::Tmall ? "Tmall" : "Taobao");
        EXPECT_EQ(WalkShop(shop, family), ExpectedItems(GetParam().options, family));
    }
}

INSTANTIATE_TEST_SUITE_P(Shops, ShopRecords, ::testing::ValuesIn(Cases()),
                         [](const auto& tested) { return std::string(tested.param.name); });

// The comparison above would pass with both sides empty: pin down what the quirky shapes yield.
TEST(ShopRecordsShape, MergedAndLostEntriesAreThoseTheLazyPatternsMake)
{
    auto alternate = Shop(2, 5);
    alternate.marketPrices = MarketPrices::Alternate;
    const auto merged = ExpectedItems(alternate, Marketplace::Taobao);
    // Per page: entry 0 alone, 1 with 2's market price and sales, 3 with 4's.
    ASSERT_EQ(merged.size(), 6u);
    EXPECT_EQ(merged[1].productId, ListedItem(alternate, Marketplace::Taobao, 1, 1).productId);
    EXPECT_EQ(merged[1].marketPrice, ListedItem(alternate, Marketplace::Taobao, 1, 2).marketPrice);
    EXPECT_EQ(merged[1].sold, ListedItem(alternate, Marketplace::Taobao, 1, 2).sold);
    EXPECT_EQ(merged[3].productId, ListedItem(alternate, Marketplace::Taobao, 2, 0).productId);

    auto later = Shop(2, 3);
    later.marketPrices = MarketPrices::NotOnFirstPage;
    for (const auto& item : ExpectedItems(later, Marketplace::Taobao))
        EXPECT_EQ(item.marketPrice, "0");

    const auto tmall = ExpectedItems(Shop(2, 3), Marketplace::Tmall);
    ASSERT_EQ(tmall.size(), 6u);
    EXPECT_EQ(tmall[5].sold + tmall[5].reviews + tmall[5].marketPrice, "000");

    auto zero = Shop(3, 2);
    zero.shownPageCount = "0";
    EXPECT_EQ(ExpectedItems(zero, Marketplace::Taobao).size(), 2u);
}

TEST(ShopRecordsShape, PricesKeepTheBlankTaobaoLeavesAndTmallDropsIt)
{
    const auto o = Shop(1, 1);
    const auto taobao = ExpectedItems(o, Marketplace::Taobao).at(0);
    const auto tmall = ExpectedItems(o, Marketplace::Tmall).at(0);
    EXPECT_EQ(taobao.salePrice.back(), ' ');
    EXPECT_EQ(taobao.marketPrice.back(), ' ');
    EXPECT_EQ(taobao.salePrice, tmall.salePrice + " ");
    EXPECT_NE(taobao.productId, ExpectedItems(Shop(2, 1), Marketplace::Taobao).at(1).productId);
}

}  // namespace
}  // namespace korvel::test
