#include "collect/ShopAddress.h"

#include <gtest/gtest.h>

#include "collect/ResultPages.h"

namespace korvel {
namespace {

TEST(ClassifyShopAddress, FamiliesByDomainName)
{
    EXPECT_EQ(ClassifyShopAddress("shop109065161.taobao.com"), ShopFamily::Taobao);
    EXPECT_EQ(ClassifyShopAddress("yingege.tmall.com"), ShopFamily::Tmall);
    EXPECT_EQ(ClassifyShopAddress("taobao.com"), ShopFamily::Taobao);
    // Both names: Tmall, whichever comes first.
    EXPECT_EQ(ClassifyShopAddress("taobao.com.tmall.com"), ShopFamily::Tmall);
    EXPECT_EQ(ClassifyShopAddress("tmall.com.taobao.com"), ShopFamily::Tmall);
    // Anywhere in the text, a typed scheme or path included.
    EXPECT_EQ(ClassifyShopAddress("https://x.taobao.com/search.htm"), ShopFamily::Taobao);
}

TEST(ClassifyShopAddress, RejectsWhatIsNeitherFamily)
{
    EXPECT_EQ(ClassifyShopAddress(""), std::nullopt);
    EXPECT_EQ(ClassifyShopAddress("shop.jd.com"), std::nullopt);
    EXPECT_EQ(ClassifyShopAddress("SHOP.TAOBAO.COM"), std::nullopt);
    EXPECT_EQ(ClassifyShopAddress("shop.Tmall.com"), std::nullopt);
    EXPECT_EQ(ClassifyShopAddress("taobao,com"), std::nullopt);
    // 0x81 't' is one double-byte character: what follows it is "aobao.com".
    EXPECT_EQ(ClassifyShopAddress("\x81taobao.com"), std::nullopt);
    EXPECT_EQ(ClassifyShopAddress("\xb5\xea"
                                  "taobao.com"),
              ShopFamily::Taobao);
}

TEST(AreaBetween, CutsBetweenTheFirstMarkers)
{
    EXPECT_EQ(AreaBetween("<a>one</b><a>two</b>", "<a>", "</b>"), "one");
    // Letter case of the markers does not matter.
    EXPECT_EQ(AreaBetween("x<DIV Class=\"Grid\">items<!--end-->", "<div class=\"grid\">", "<!--END-->"),
              "items");
    EXPECT_EQ(AreaBetween("J_TItems\\\">entries<div class=\\\"pagination", "J_TItems", "pagination"),
              "\\\">entries<div class=\\\"");
}

TEST(AreaBetween, EmptyWhenTheMarkersDoNotEnclose)
{
    EXPECT_EQ(AreaBetween("end ... start ...", "start", "end"), "");
    EXPECT_EQ(AreaBetween("start ... ", "start", "end"), "");
    EXPECT_EQ(AreaBetween("startend", "start", "end"), "");
    EXPECT_EQ(AreaBetween("", "start", "end"), "");
    EXPECT_EQ(AreaBetween("start end start x end", "start", "end"), " ");
}

TEST(AreaBetween, AMissingStartMarkerEntersTheArithmetic)
{
    // Position -1 plus the marker's length: the cut starts at byte 2 and runs to the end marker.
    EXPECT_EQ(AreaBetween("0123456789END", "abc", "END"), "123456789");
    // A one-byte missing marker gives a start before the text: nothing.
    EXPECT_EQ(AreaBetween("0123456789END", "a", "END"), "");
    // An empty start marker is found at position 1.
    EXPECT_EQ(AreaBetween("0123END", "", "END"), "0123");
}

TEST(AreaBetween, OnlyCharacterStartsAreTried)
{
    // B0 A1 is one character, so its trail byte never starts a match of A1 A1: the start marker
    // is the character after it.
    EXPECT_EQ(AreaBetween("\xb0\xa1\xa1\xa1xy", "\xa1\xa1", "y"), "x");
    EXPECT_EQ(AreaBetween("\x81J_TItems J_TItems<a>pagination", "J_TItems", "pagination"), "<a>");
}

TEST(ResultPageUrl, AddressesAreUsedExactlyAsTyped)
{
    EXPECT_EQ(ResultPageUrl(ShopFamily::Taobao, "a.taobao.com", "", 7), "https://a.taobao.com/search.htm");
    EXPECT_EQ(ResultPageUrl(ShopFamily::Tmall, "b.tmall.com", "mid=w-1-0&wid=1", 1),
              "https://b.tmall.com/i/asynSearch.htm?mid=w-1-0&wid=1&path=/search.htm&search=y&pageNo=1");
    EXPECT_EQ(ResultPageUrl(ShopFamily::Tmall, "b.tmall.com", "", 12),
              "https://b.tmall.com/i/asynSearch.htm?&path=/search.htm&search=y&pageNo=12");
    EXPECT_EQ(ResultPageUrl(ShopFamily::Taobao, "https://a.taobao.com/", "", 1),
              "https://https://a.taobao.com//search.htm");
    EXPECT_EQ(TmallShopPageUrl("b.tmall.com"), "https://b.tmall.com/search.htm?search=y&pageNo=1");
}

}  // namespace
}  // namespace korvel
