// The page and item patterns on pages saved from the real shops: PCRE2 and RE2 agree on every
// fixture, and the records are the ones the pages hold.

#include "PatternTestSupport.h"
#include "RealShopPages.h"
#include "collect/Patterns.h"

namespace korvel::test {
namespace {

using PatternFixtures = RealShopPages;

const char* const kFixtures[] = {
    "taobao-items-2014-a.html",
    "taobao-items-2014-lazy.html",
    "taobao-cats-and-item-2014.html",
    "taobao-pagination-2014.html",
    "taobao-asyn-search-link-2017.html",
    "taobao-search-browser-saved-2019.html",
    "tmall-search-browser-saved-2018.html.php",
};

std::string TaobaoItems(bool withMarketPrice)
{
    return std::string(TaobaoItemHead) + (withMarketPrice ? TaobaoMarketPricePart : "") + TaobaoSalesPart;
}

// The asynchronous Tmall result text writes every quote escaped.
std::string Escaped(const std::string& page)
{
    std::string out;
    for (char c : page)
        out += c == '"' ? std::string("\\\"") : std::string(1, c);
    return out;
}

TEST_F(PatternFixtures, BothEnginesAgreeOnEveryFixtureAndPattern)
{
    const std::string patterns[] = {TaobaoPagePattern, TmallPagePattern, TmallItemPattern, TaobaoItems(false),
                                    TaobaoItems(true)};
    for (const char* name : kFixtures) {
        const std::string page = ShopFixture(name);
        ASSERT_FALSE(page.empty()) << name;
        for (const std::string& pattern : patterns) {
            SCOPED_TRACE(std::string(name) + " / " + pattern);
            BothEngines(Pattern(pattern), page);
            BothEngines(Pattern(pattern), Escaped(page));
        }
    }
}

TEST_F(PatternFixtures, TaobaoEntriesGiveTheirRecords)
{
    const auto matches = BothEngines(Pattern(TaobaoItems(false)), ShopFixture("taobao-items-2014-a.html"));
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[0].groups[1], "40890292076");
    EXPECT_EQ(matches[0].groups[2],
              "img01.taobaocdn.com/bao/uploaded/i2/T1Xy3SFXliXXXXXXXX_!!0-item_pic.jpg_240x240.jpg");
    EXPECT_EQ(matches[0].groups[3], Gbk("865# 2014秋冬 新品拼皮百搭显瘦女呢料短裤（送腰带）"));
    EXPECT_EQ(matches[0].groups[4], "40.00 ");
    EXPECT_EQ(matches[0].groups[5], "0");
    EXPECT_EQ(matches[0].groups[6], "0");
    EXPECT_EQ(matches[1].groups[1], "40889940937");
    EXPECT_EQ(matches[1].groups[3], Gbk("867# 2014秋冬新品韩版显瘦蕾丝花边拼接短裤百搭呢料短裤热裤"));
}

TEST_F(PatternFixtures, LazyPicturesGiveThePlaceholder)
{
    const auto matches = BothEngines(Pattern(TaobaoItems(false)), ShopFixture("taobao-items-2014-lazy.html"));
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[0].groups[1], "37498952035");
    EXPECT_EQ(matches[0].groups[2], "a.tbcdn.cn/s.gif");
    EXPECT_EQ(matches[0].groups[3], Gbk("apple 最新OS系统 U盘安装"));
    EXPECT_EQ(matches[0].groups[4], "65.00 ");
    EXPECT_EQ(matches[0].groups[5], "4");
    EXPECT_EQ(matches[0].groups[6], "2");
    EXPECT_EQ(matches[1].groups[1], "37178066336");
    EXPECT_EQ(matches[1].groups[4], "299.00 ");
}

TEST_F(PatternFixtures, CategoryNoiseBeforeTheEntryIsSkipped)
{
    const auto matches =
        BothEngines(Pattern(TaobaoItems(false)), ShopFixture("taobao-cats-and-item-2014.html"));
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].groups[1], "22714980919");
    EXPECT_EQ(matches[0].groups[4], "60.00 ");
    EXPECT_EQ(matches[0].groups[5], "7");
    EXPECT_EQ(matches[0].groups[6], "0");
}

TEST_F(PatternFixtures, BrowserSavedTaobaoPageHasPagingButNoEntries)
{
    const std::string page = ShopFixture("taobao-search-browser-saved-2019.html");
    const auto paging = BothEngines(Pattern(TaobaoPagePattern), page);
    ASSERT_EQ(paging.size(), 1u);
    EXPECT_EQ(GroupText(paging[0], 1), "1");
    EXPECT_EQ(GroupText(paging[0], 2), "13");
    EXPECT_TRUE(BothEngines(Pattern(TaobaoItems(false)), page).empty());
    EXPECT_TRUE(BothEngines(Pattern(TaobaoItems(true)), page).empty());
}

// The asynchronous text of the saved Tmall module: quotes escaped, and the links closed right
// after their target attribute (the browser added tracking attributes behind it).
std::string TmallAsynchronousText()
{
    std::string page = ShopFixture("tmall-search-browser-saved-2018.html.php");
    const std::string target = "target=\"_blank\"";
    for (std::size_t at = page.find(target); at != std::string::npos; at = page.find(target, at + 1)) {
        const std::size_t from = at + target.size();
        page.erase(from, page.find('>', from) - from);
    }
    return Escaped(page);
}

TEST_F(PatternFixtures, TmallAsynchronousTextGivesItsEntries)
{
    const std::string page = TmallAsynchronousText();
    const auto paging = BothEngines(Pattern(TmallPagePattern), page);
    ASSERT_EQ(paging.size(), 1u);
    EXPECT_EQ(GroupText(paging[0], 2), "1");

    const std::size_t from = page.find("J_TItems"), to = page.find("pagination");
    ASSERT_LT(from, to);
    const auto items = BothEngines(Pattern(TmallItemPattern), page.substr(from + 8, to - from - 8));
    const std::vector<std::string> ids = {"540733157404", "541636851254", "562562530239", "566433079625",
                                          "543674124559", "555480682603", "563597401194"};
    ASSERT_EQ(items.size(), ids.size());
    for (std::size_t i = 0; i < ids.size(); ++i) {
        EXPECT_EQ(GroupText(items[i], 1), ids[i]);
        EXPECT_EQ(GroupText(items[i], 2).rfind("img.alicdn.com/bao/uploaded/", 0), 0u)
            << GroupText(items[i], 2);
        EXPECT_EQ(GroupText(items[i], 4).find_first_of(" \t\r\n"), std::string::npos);
    }
    EXPECT_EQ(GroupText(items[0], 4), "448.00");
}

}  // namespace
}  // namespace korvel::test
