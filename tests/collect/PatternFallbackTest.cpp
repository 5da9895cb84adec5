// Pages on which PCRE2's lazy gaps backtrack without end: RE2 finishes the search and the records
// are exactly those of an unbounded search.

#include "PatternTestSupport.h"
#include "collect/Patterns.h"
#include "support/ShopMarkup.h"

namespace korvel::test {
namespace {

const std::string kTaobaoItems = std::string(TaobaoItemHead) + TaobaoSalesPart;

// About 200 KB of entries that all lack their sales figure.
std::vector<tools::ShopEntry> EntriesWithoutSales(std::size_t firstSeed)
{
    auto entries = tools::SampleEntries(firstSeed + 240, false);
    entries.erase(entries.begin(), entries.begin() + static_cast<std::ptrdiff_t>(firstSeed));
    for (auto& e : entries)
        e.soldCount.clear();
    return entries;
}

TEST(PatternFallback, BrokenEntriesMergeWithTheNextWholeOneAsWithoutLimits)
{
    const auto whole = tools::SampleEntries(6, false);
    const auto broken = EntriesWithoutSales(6);
    std::string page = tools::TaobaoItemArea({whole.begin(), whole.begin() + 5}) +
                       tools::TaobaoItemArea(broken) + tools::TaobaoEntryMarkup(whole[5]);
    ASSERT_GT(page.size(), 200'000u);

    MatchStats stats;
    const Pattern pattern(kTaobaoItems);
    const auto matches = WithWholeMatch(FindAllMatches(pattern, page, &stats), page);
    EXPECT_TRUE(stats.usedFallback);
    EXPECT_EQ(Groups(matches),
              Groups(WithWholeMatch(FindAllMatches(pattern, page, nullptr, SearchEngine::Re2), page)));

    ASSERT_EQ(matches.size(), 6u);
    for (std::size_t i = 0; i < 5; ++i) {
        const tools::ShopEntry& e = whole[i];
        EXPECT_EQ(matches[i].groups, (std::vector<std::string>{matches[i].groups[0], e.id, e.image, e.title,
                                                               e.salePrice, e.soldCount, e.reviews}));
    }
    // The first broken entry runs on to the sales figure and review count of the last entry.
    const auto& merged = matches[5].groups;
    EXPECT_EQ(merged[1], broken.front().id);
    EXPECT_EQ(merged[3], broken.front().title);
    EXPECT_EQ(merged[5], whole[5].soldCount);
    EXPECT_EQ(merged[6], whole[5].reviews);
    EXPECT_TRUE(merged[0].ends_with("<span>" + whole[5].reviews + "</span>"));
}

TEST(PatternFallback, PageWithoutAnyWholeEntryEndsWithNoRecords)
{
    const std::string page = tools::TaobaoItemArea(EntriesWithoutSales(0));
    MatchStats stats;
    EXPECT_TRUE(FindAllMatches(Pattern(kTaobaoItems), page, &stats).empty());
    EXPECT_TRUE(stats.usedFallback);
}

TEST(PatternFallback, OrdinaryPagesNeverNeedTheFallback)
{
    for (const bool withMarketPrice : {false, true}) {
        const auto entries = tools::SampleEntries(60, withMarketPrice);
        const std::string pattern =
            std::string(TaobaoItemHead) + (withMarketPrice ? TaobaoMarketPricePart : "") + TaobaoSalesPart;
        const std::string area = tools::TaobaoItemArea(entries);
        MatchStats stats;
        FindAllMatches(Pattern(pattern), area, &stats);
        EXPECT_FALSE(stats.usedFallback);
        const auto matches = BothEngines(Pattern(pattern), area);
        ASSERT_EQ(matches.size(), entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(matches[i].groups[1], entries[i].id);
            EXPECT_EQ(matches[i].groups.back(), entries[i].reviews);
        }
    }
}

}  // namespace
}  // namespace korvel::test
