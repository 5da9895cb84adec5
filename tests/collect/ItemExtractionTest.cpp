#include <gtest/gtest.h>

#include <optional>

#include "collect/ItemLayout.h"
#include "support/ShopMarkup.h"

namespace korvel::test {
namespace {

using tools::TaobaoEntryMarkup;

std::vector<CollectedItem> Extract(ShopFamily family, const std::string& firstArea, const std::string& area)
{
    const ItemLayout layout = ChooseItemLayout(family, firstArea);
    std::vector<CollectedItem> items;
    for (const Match& match : FindAllMatches(layout.pattern, area))
        items.push_back(ItemFromMatch(match, layout));
    return items;
}

std::vector<CollectedItem> Extract(ShopFamily family, const std::string& area)
{
    return Extract(family, area, area);
}

// id, market price, sold, reviews of each record
using Tail = std::tuple<std::string, std::string, std::string, std::string>;
std::vector<Tail> Tails(const std::vector<CollectedItem>& items)
{
    std::vector<Tail> tails;
    for (const auto& item : items)
        tails.emplace_back(item.productId, item.marketPrice, item.soldCount, item.reviewText);
    return tails;
}

tools::ShopEntry Entry(const std::string& id, std::optional<std::string> market,
                       std::optional<std::string> sold)
{
    return {id,
            "img.example/" + id + ".jpg",
            "T" + id,
            "&yen; 1" + id + ".00 ",
            market.value_or(""),
            sold.value_or(""),
            "r" + id};
}

// A Tmall asynchronous result-page entry: every quote arrives as a backslash and the quote.
std::string TmallEntry(const tools::ShopEntry& e)
{
    return "<dl class=\\\"item \\\" data-id=\\\"" + e.id + "\\\">\n<dt class=\\\"photo\\\">" +
           "<a href=\\\"//detail.tmall.com/item.htm?id=" + e.id + "\\\" target=\\\"_blank\\\">\n" +
           "<img alt=\\\"" + e.title + "\\\" src=\\\"//" + e.image + "\\\">\n</a></dt>\n" +
           "<dd class=\\\"detail\\\"><a class=\\\"item-name\\\" href=\\\"//detail.tmall.com/item.htm?id=" +
           e.id + "\\\" target=\\\"_blank\\\">" + e.title + "</a>\n" + "<span class=\\\"c-price\\\">" +
           e.salePrice + " </span></dd>\n</dl>\n";
}

TEST(ItemExtraction, TmallEntriesFillTheMissingColumnsWithZero)
{
    const auto items =
        Extract(ShopFamily::Tmall, TmallEntry(Entry("11", {}, {})) + TmallEntry(Entry("12", {}, {})));
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].productId, "11");
    EXPECT_EQ(items[0].imageAddress, "img.example/11.jpg");
    EXPECT_EQ(items[0].title, "T11");
    EXPECT_EQ(items[0].salePrice, "&yen; 111.00");  // the white space before </span> is not kept
    EXPECT_EQ(Tails(items), (std::vector<Tail>{{"11", "0", "0", "0"}, {"12", "0", "0", "0"}}));
    EXPECT_FALSE(ChooseItemLayout(ShopFamily::Tmall, "s-price").hasMarketPrice);
}

TEST(ItemExtraction, TaobaoMarketPricesWhenPageOneShowsThem)
{
    const std::string area =
        TaobaoEntryMarkup(Entry("1", "9", "5")) + TaobaoEntryMarkup(Entry("2", "8", "6"));
    const auto items = Extract(ShopFamily::Taobao, area);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].salePrice, "&yen; 11.00 ");  // Taobao prices keep every character
    EXPECT_EQ(items[0].imageAddress, "img.example/1.jpg");
    EXPECT_EQ(Tails(items), (std::vector<Tail>{{"1", "9", "5", "r1"}, {"2", "8", "6", "r2"}}));
}

TEST(ItemExtraction, TaobaoWithoutMarketPricesReadsZeroOnEveryPage)
{
    const std::string first = TaobaoEntryMarkup(Entry("1", {}, "5"));
    EXPECT_FALSE(ChooseItemLayout(ShopFamily::Taobao, first).hasMarketPrice);
    // A later page that does show market prices is still read with page 1's choice.
    const auto later = Extract(ShopFamily::Taobao, first, TaobaoEntryMarkup(Entry("2", "8", "6")));
    EXPECT_EQ(Tails(later), (std::vector<Tail>{{"2", "0", "6", "r2"}}));
}

TEST(ItemExtraction, AnEntryMissingAPieceMergesWithTheNext)
{
    // Market prices on some entries: the one without reads on into the next entry.
    const std::string mixed = TaobaoEntryMarkup(Entry("1", "9", "5")) +
                              TaobaoEntryMarkup(Entry("2", {}, "6")) +
                              TaobaoEntryMarkup(Entry("3", "7", "4"));
    EXPECT_EQ(Tails(Extract(ShopFamily::Taobao, mixed)),
              (std::vector<Tail>{{"1", "9", "5", "r1"}, {"2", "7", "4", "r3"}}));

    const std::string unsold = TaobaoEntryMarkup(Entry("1", {}, {})) + TaobaoEntryMarkup(Entry("2", {}, "6"));
    const auto merged = Extract(ShopFamily::Taobao, unsold);
    ASSERT_EQ(merged.size(), 1u);
    EXPECT_EQ(merged[0].title, "T1");
    EXPECT_EQ(Tails(merged), (std::vector<Tail>{{"1", "0", "6", "r2"}}));
}

TEST(ItemExtraction, SPriceIsSoughtAtCharacterStartsOnly)
{
    // 0x81 's' is one double-byte character: no "s-price" here.
    EXPECT_FALSE(ChooseItemLayout(ShopFamily::Taobao, "<i>\x81s-price</i>").hasMarketPrice);
    EXPECT_TRUE(ChooseItemLayout(ShopFamily::Taobao,
                                 "<i>\xb5\xea"
                                 "s-price</i>")
                    .hasMarketPrice);
    EXPECT_FALSE(ChooseItemLayout(ShopFamily::Taobao, "S-PRICE").hasMarketPrice);
}

TEST(ItemExtraction, TheSameProductTwiceGivesTwoRecords)
{
    const std::string entry = TaobaoEntryMarkup(Entry("1", {}, "5"));
    EXPECT_EQ(Extract(ShopFamily::Taobao, entry + entry).size(), 2u);
    EXPECT_TRUE(Extract(ShopFamily::Taobao, "").empty());
}

}  // namespace
}  // namespace korvel::test
