// Pages saved from the live shops by others: what the item patterns take out of real markup.

#include <gtest/gtest.h>

#include "RealShopPages.h"
#include "collect/DiscoverPages.h"
#include "collect/ItemLayout.h"
#include "collect/Patterns.h"
#include "support/LocalServer.h"
#include "support/TestGbk.h"

namespace korvel::test {
namespace {

using FixturePages = RealShopPages;

// The pages as the shops served them, in GBK; the few characters GBK lacks (the browser-saved
// pages' yen signs) become "?".
std::string Fixture(const std::string& name)
{
    return gbk::FromUtf8(ReadFile(FixturesDir() + "/real-shop-pages/" + name));
}

std::vector<CollectedItem> Items(ShopFamily family, const std::string& area)
{
    const ItemLayout layout = ChooseItemLayout(family, area);
    std::vector<CollectedItem> items;
    for (const Match& match : FindAllMatches(layout.pattern, area))
        items.push_back(ItemFromMatch(match, layout));
    return items;
}

std::vector<std::string> Row(const CollectedItem& item)
{
    return {Utf8(item.productId),   Utf8(item.imageAddress), Utf8(item.title),     Utf8(item.salePrice),
            Utf8(item.marketPrice), Utf8(item.soldCount),    Utf8(item.reviewText)};
}

TEST_F(FixturePages, TaobaoEntriesOf2014)
{
    // The item area as the default markers cut it from the entries and the pagination block.
    const auto settings = DefaultCollectionSettings();
    const std::string page =
        "<html>" + Fixture("taobao-items-2014-a.html") + Fixture("taobao-pagination-2014.html");
    const std::string area =
        ItemAreaOf(ShopFamily::Taobao, page, settings.itemAreaStart, settings.itemAreaEnd);
    const auto items = Items(ShopFamily::Taobao, area);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(Row(items[0]),
              (std::vector<std::string>{
                  "40890292076",
                  "img01.taobaocdn.com/bao/uploaded/i2/T1Xy3SFXliXXXXXXXX_!!0-item_pic.jpg_240x240.jpg",
                  "865# 2014秋冬 新品拼皮百搭显瘦女呢料短裤（送腰带）", "40.00 ", "0", "0", "0"}));
    EXPECT_EQ(Row(items[1])[0], "40889940937");
    EXPECT_EQ(Row(items[1])[1],
              "img01.taobaocdn.com/bao/uploaded/i2/TB1ap8wGXXXXXbXXVXXXXXXXXXX_!!0-item_pic.jpg_240x240.jpg");
}

TEST_F(FixturePages, LazyLoadedPicturesGiveThePlaceholder)
{
    const auto items = Items(ShopFamily::Taobao, Fixture("taobao-items-2014-lazy.html"));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(Row(items[0]), (std::vector<std::string>{"37498952035", "a.tbcdn.cn/s.gif",
                                                       "apple 最新OS系统 U盘安装", "65.00 ", "0", "4", "2"}));
    EXPECT_EQ(Row(items[1]),
              (std::vector<std::string>{"37178066336", "a.tbcdn.cn/s.gif", "zara 男士休闲皮衣 专柜正品",
                                        "299.00 ", "0", "0", "0"}));
}

TEST_F(FixturePages, CategoryNoiseBeforeTheOnlyEntry)
{
    const auto items = Items(ShopFamily::Taobao, Fixture("taobao-cats-and-item-2014.html"));
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(Row(items[0]),
              (std::vector<std::string>{"22714980919", "a.tbcdn.cn/s.gif",
                                        "厂家直销 绣花撞色大码打底衫插肩袖修身百搭短袖T恤 6352# 实拍",
                                        "60.00 ", "0", "7", "0"}));
}

TEST_F(FixturePages, TheTmallQueryLinkBetweenTheDefaultMarkers)
{
    // This page writes "&amp;search=y" where the marker expects "&&amp;search=y": nothing encloses.
    const auto settings = DefaultCollectionSettings();
    const std::string page = Fixture("taobao-asyn-search-link-2017.html");
    EXPECT_EQ(AreaBetween(page, settings.tmallQueryStart, "&path=/search.htm"),
              "mid=w-15870872781-0&wid=15870872781");
    EXPECT_EQ(AreaBetween(page, settings.tmallQueryStart, settings.tmallQueryEnd), "");
}

TEST_F(FixturePages, BrowserSavedTaobaoPageHasPagingButNoReadableEntries)
{
    const auto settings = DefaultCollectionSettings();
    const std::string page = Fixture("taobao-search-browser-saved-2019.html");
    const auto paging = FindAllMatches(Pattern(TaobaoPagePattern), page);
    ASSERT_EQ(paging.size(), 1u);
    EXPECT_EQ(GroupText(paging[0], 2), "13");
    const std::string area =
        ItemAreaOf(ShopFamily::Taobao, page, settings.itemAreaStart, settings.itemAreaEnd);
    EXPECT_FALSE(area.empty());
    EXPECT_TRUE(Items(ShopFamily::Taobao, area).empty());
}

TEST_F(FixturePages, BrowserSavedTmallPageHasNoEscapedQuotes)
{
    const std::string page = Fixture("tmall-search-browser-saved-2018.html.php");
    EXPECT_TRUE(FindAllMatches(Pattern(TmallPagePattern), page).empty());
    const std::string area = ItemAreaOf(ShopFamily::Tmall, page, "", "");
    EXPECT_FALSE(area.empty());
    EXPECT_TRUE(Items(ShopFamily::Tmall, area).empty());
}

}  // namespace
}  // namespace korvel::test
