// Item extraction over any page: the paging patterns of both marketplaces and the three item
// layouts, each searched by PCRE2, by RE2 alone and over the fully decoded subject, all held to
// one answer (MatchChecks.h); every match then becomes a product the way a collection makes one.
// Input: a result page or an item area, GBK.

#include "FuzzSupport.h"
#include "MatchChecks.h"
#include "collect/ItemLayout.h"
#include "collect/Patterns.h"

namespace korvel::fuzz {
namespace {

// The layouts a run can choose: Tmall's, and Taobao's with and without market prices.
const std::vector<ItemLayout>& Layouts()
{
    static const std::vector<ItemLayout> layouts = [] {
        std::vector<ItemLayout> all;
        all.push_back(ChooseItemLayout(ShopFamily::Tmall, ""));
        all.push_back(ChooseItemLayout(ShopFamily::Taobao, ""));
        all.push_back(ChooseItemLayout(ShopFamily::Taobao, "s-price"));
        return all;
    }();
    return layouts;
}

}  // namespace
}  // namespace korvel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace korvel;
    using namespace korvel::fuzz;
    const std::string_view page(reinterpret_cast<const char*>(data), size);
    for (const char* paging : {TaobaoPagePattern, TmallPagePattern})
        CheckedMatches(FixedPair(paging), page);
    for (const ItemLayout& layout : Layouts()) {
        for (const Match& match : CheckedMatches(FixedPair(layout.patternText), page)) {
            const CollectedItem item = ItemFromMatch(match, layout);
            Require(item.productId == GroupText(match, 1) && item.title == GroupText(match, 3),
                    "a product takes its fields from the match");
        }
    }
    return 0;
}
