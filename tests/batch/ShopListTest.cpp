#include <gtest/gtest.h>

#include "batch/BatchId.h"
#include "batch/ShopList.h"

namespace korvel::batch {
namespace {

struct ListCase {
    const char* name;
    std::string text;
    std::vector<std::string> hosts;
    std::string error;  // a part of the error; empty when the list is good
};

class ShopLists : public testing::TestWithParam<ListCase> {};

TEST_P(ShopLists, GiveTheHostsOrNameTheLine)
{
    const ListCase& c = GetParam();
    const ShopList list = ParseShopList(c.text);
    EXPECT_EQ(list.hosts, c.hosts);
    if (c.error.empty())
        EXPECT_EQ(list.error, "");
    else
        EXPECT_NE(list.error.find(c.error), std::string::npos) << list.error;
}

const ListCase ListCases[] = {
    {"empty", "", {}, ""},
    {"notes_and_blanks", "# mine\n\n   \n\t#x\nshop1.taobao.com\n", {"shop1.taobao.com"}, ""},
    {"trims_spaces_tabs_cr", " \tshop1.taobao.com \r\nA.tmall.com\r\n", {"shop1.taobao.com", "a.tmall.com"}, ""},
    {"no_final_break", "shop1.taobao.com\nshop2.taobao.com", {"shop1.taobao.com", "shop2.taobao.com"}, ""},
    {"duplicates_any_case_once",
     "Shop1.Taobao.com\nb.tmall.com\nSHOP1.TAOBAO.COM\nshop1.taobao.com",
     {"shop1.taobao.com", "b.tmall.com"},
     ""},
    {"byte_order_mark", "\xEF\xBB\xBFshop1.taobao.com\n", {"shop1.taobao.com"}, ""},
    {"deeper_names", "a.b-c.shop.taobao.com\n", {"a.b-c.shop.taobao.com"}, ""},
    {"scheme", "shop1.taobao.com\n\nhttps://shop2.taobao.com\n", {}, "line 3: \"https://shop2.taobao.com\" is not a shop host without a scheme"},
    {"path", "shop1.taobao.com/search.htm", {}, "line 1: \"shop1.taobao.com/search.htm\" is not a shop host without a path"},
    {"port", "# x\nshop1.taobao.com:443", {}, "line 2: \"shop1.taobao.com:443\" is not a shop host without a port"},
    {"other_domain", "shop.example.com", {}, "line 1:"},
    {"domain_itself", "taobao.com", {}, "line 1:"},
    {"bare_suffix", ".taobao.com", {}, "line 1:"},
    {"lookalike", "shop.nottaobao.com", {}, "line 1:"},
    {"suffix_inside", "taobao.com.evil.net", {}, "line 1:"},
    {"inner_space", "shop 1.taobao.com", {}, "line 1:"},
    {"empty_label", "shop..taobao.com", {}, "line 1:"},
    {"hyphen_edges", "-shop.taobao.com", {}, "line 1:"},
    {"underscore", "shop_1.taobao.com", {}, "line 1:"},
    {"non_ascii", "\xE5\xBA\x97.taobao.com", {}, "line 1:"},
    {"trailing_dot", "shop1.taobao.com.", {}, "line 1:"},
    {"user_part", "me@shop1.taobao.com", {}, "line 1:"},
    {"note_not_at_start", "shop1.taobao.com # mine", {}, "line 1:"},
    {"long_label", std::string(64, 'a') + ".taobao.com", {}, "line 1:"},
    // The line comes back escaped and cut short: a terminal must not run what a list holds.
    {"terminal_escapes", "\x1B]0;x\x07\x1B[2J\xC2\x9B\xB5\xEA\\\"店.taobao.com", {},
     "line 1: \"\\x1B]0;x\\x07\\x1B[2J\\xC2\\x9B\\xB5\\xEA\\\\\\\"店.taobao.com\" is not"},
    {"cut_to_200_characters", std::string(150, 'a') + std::string(100, '\x01'), {},
     "line 1: \"" + std::string(150, 'a') + [] { std::string s; for (int i = 0; i < 50; ++i) s += "\\x01"; return s; }() +
         "\"… is not"},
    {"line_over_4_kb", "shop1.taobao.com\n#" + std::string(4096, 'x'), {}, "line 2: longer than 4 KB (4097 bytes)"},
    {"list_over_10_mb", [] { std::string s; for (int i = 0; i < 2700; ++i) s += "#" + std::string(3999, 'x') + "\n"; return s; }(),
     {}, "line 2621: the list is larger than 10 MB"},
};

INSTANTIATE_TEST_SUITE_P(Batch, ShopLists, testing::ValuesIn(ListCases),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST(ListBatchId, DependsOnTheHostsAlone)
{
    const std::string id = ListBatchId(ParseShopList("a.taobao.com\nb.tmall.com\n").hosts);
    EXPECT_EQ(id, ListBatchId(ParseShopList("# daily\r\nA.taobao.com\r\n\r\nb.tmall.com\na.taobao.com").hosts));
    EXPECT_NE(id, ListBatchId(ParseShopList("b.tmall.com\na.taobao.com\n").hosts));
    EXPECT_NE(id, ListBatchId(ParseShopList("a.taobao.com\n").hosts));
    EXPECT_EQ(id.size(), 5u + 16u);
    EXPECT_EQ(id.rfind("list-", 0), 0u);
}

TEST(BatchIdFault, TakesPrintableNames)
{
    EXPECT_EQ(BatchIdFault("2026-12-07"), "");
    EXPECT_EQ(BatchIdFault("每日 batch"), "");
    EXPECT_NE(BatchIdFault(""), "");
    EXPECT_NE(BatchIdFault(std::string(129, 'a')), "");
    EXPECT_NE(BatchIdFault("day\n1"), "");
}

}  // namespace
}  // namespace korvel::batch
