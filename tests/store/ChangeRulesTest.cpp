#include <gtest/gtest.h>

#include "store/StoreTestSupport.h"

namespace korvel::test {
namespace {

Product With(Product p, std::string Product::*field, std::string value)
{
    p.*field = std::move(value);
    return p;
}

struct RulesCase {
    const char* name;
    std::vector<Product> earlier;
    std::vector<Product> latest;
    bool latestComplete;
    LowestPrices lowest;
    std::vector<std::string> expected;
};

LowestPrices Lowest(const std::string& id, const std::string& text)
{
    return {{id, LowestPrice{*ReadDecimal(text), text}}};
}

const RulesCase RulesCases[] = {
    {"Unchanged", {Item("1", "128")}, {Item("1", "128")}, true, {}, {}},
    {"DecimalEquality", {Item("1", "128.00", "05")}, {Item("1", "128", "5")}, true, {}, {}},
    {"PriceUpWithDeltaAndPercent", {Item("1", "128")}, {Item("1", "138.50")}, true, {},
     {"price 1 128>138.50 10.50 8.20"}},
    {"PriceDownIsNegative", {Item("1", "100")}, {Item("1", "87.655")}, true, {},
     {"price 1 100>87.655 -12.345 -12.35"}},
    {"PercentNullFromZero", {Item("1", "0")}, {Item("1", "5")}, true, {}, {"price 1 0>5 5 -"}},
    {"TextPricesDifferWithoutNumbers", {Item("1", "128")}, {Item("1", "128-168")}, true, {},
     {"price 1 128>128-168 - -"}},
    {"SameTextIsNoChange", {Item("1", "面议")}, {Item("1", "面议")}, true, {}, {}},
    {"SoldAndReviewsGiveDeltaAndPercent",
     {Item("1", "9", "10")}, {With(Item("1", "9", "7"), &Product::reviews, "4")}, true, {},
     {"sold 1 10>7 -3 -30.00", "reviews 1 1>4 3 300.00"}},
    {"SoldPercentNullFromZero", {Item("1", "9", "0")}, {Item("1", "9", "5")}, true, {}, {"sold 1 0>5 5 -"}},
    {"EveryFieldInItsOrder", {Item("1", "9")},
     {With(With(With(Item("1", "10", "6", "U"), &Product::marketPrice, "120"), &Product::picture, "//p"),
           &Product::reviews, "x")},
     true, {},
     {"price 1 9>10 1 11.11", "market_price 1 99>120 21 21.21", "title 1 T>U - -", "picture 1 //img/1.jpg>//p - -",
      "sold 1 5>6 1 20.00", "reviews 1 1>x - -"}},
    {"NewAndRemovedRemovedLast", {Item("1", "1", "5", "A"), Item("2", "1", "5", "B")},
     {Item("3", "1", "5", "C"), Item("1", "1", "5", "A")}, true, {},
     {"new 3 ->C - -", "removed 2 B>- - -"}},
    {"NoRemovalWhenTheLatestRunIsIncomplete", {Item("1", "1"), Item("2", "1")}, {Item("1", "2")}, false, {},
     {"price 1 1>2 1 100.00"}},
    {"FirstOccurrenceStandsForTheId", {Item("1", "10"), Item("1", "99")}, {Item("1", "10"), Item("1", "50")}, true,
     {}, {}},
    {"OrderIsTheLatestRunsOrder", {Item("1", "1"), Item("2", "1")}, {Item("2", "2"), Item("1", "2")}, true, {},
     {"price 2 1>2 1 100.00", "price 1 1>2 1 100.00"}},
    {"LowestBelowEveryEarlierPrice", {Item("1", "90")}, {Item("1", "80")}, true, Lowest("1", "85.0"),
     {"price 1 90>80 -10 -11.11", "lowest 1 85.0>80 -5.0 -5.88"}},
    {"NotLowestWhenEqual", {Item("1", "90")}, {Item("1", "85")}, true, Lowest("1", "85.00"),
     {"price 1 90>85 -5 -5.56"}},
    {"LowestForAReturningProduct", {}, {Item("1", "70")}, true, Lowest("1", "75"),
     {"new 1 ->T - -", "lowest 1 75>70 -5 -6.67"}},
    {"NoLowestForATextPrice", {Item("1", "90")}, {Item("1", "特价")}, true, Lowest("1", "90"),
     {"price 1 90>特价 - -"}},
};

class ChangeRules : public ::testing::TestWithParam<RulesCase> {};

TEST_P(ChangeRules, TwoRunsInChangesOut)
{
    const RulesCase& c = GetParam();
    EXPECT_EQ(Shown(CompareRuns(c.earlier, c.latest, c.latestComplete, c.lowest)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ChangeRules, ::testing::ValuesIn(RulesCases),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST(ChangeRules, TheTitleIsTheLatestOne)
{
    const auto changes = CompareRuns({Item("1", "1", "5", "old")}, {Item("1", "2", "5", "new")}, true, {});
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].title, "new");
    EXPECT_EQ(changes[1].kind, ChangeKind::Title);
}

struct DecimalCase {
    const char* text;
    std::optional<std::string> read;  // as DecimalText shows it
};

TEST(DecimalReading, OnlyPlainNumbersRead)
{
    const DecimalCase cases[] = {{"128", "128"}, {" 128.00 ", "128.00"}, {"-0.5", "-0.5"}, {"007", "7"},
                                 {"", std::nullopt}, {"1.", std::nullopt}, {".5", std::nullopt},
                                 {"1.2万", std::nullopt}, {"1,000", std::nullopt}, {"1e3", std::nullopt},
                                 {"1234567890123456789", std::nullopt}, {"-", std::nullopt}};
    for (const DecimalCase& c : cases) {
        const auto value = ReadDecimal(c.text);
        EXPECT_EQ(value ? std::optional(DecimalText(*value)) : std::nullopt, c.read) << c.text;
    }
}

}  // namespace
}  // namespace korvel::test
