#include "store/StateRule.h"

#include <tuple>

namespace korvel::store {

bool SameFields(const Product& a, const Product& b)
{
    return std::tie(a.picture, a.title, a.salePrice, a.marketPrice, a.sold, a.reviews) ==
           std::tie(b.picture, b.title, b.salePrice, b.marketPrice, b.sold, b.reviews);
}

StateDecision StateRule::decide(const Product& product, const std::function<std::int64_t()>& newRow)
{
    auto [found, isNew] = known_.try_emplace(product.id);
    KnownState& known = found->second;
    if (isNew)
        known.product = newRow();
    StateDecision decision{StateStep::NewState, isNew, &known};
    if (!seen_.insert(known.product).second)
        decision.step = StateStep::Repeat;
    else if (!isNew && SameFields(known.fields, product))
        decision.step = StateStep::Extend;
    return decision;
}

}  // namespace korvel::store
