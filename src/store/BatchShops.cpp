#include "store/BatchShops.h"

namespace korvel::batch {

int OutcomeCode(ShopOutcome outcome)
{
    return static_cast<int>(outcome);
}

ShopOutcome OutcomeFromCode(long long code)
{
    return code >= 0 && code <= OutcomeCode(ShopOutcome::Blocked) ? static_cast<ShopOutcome>(code)
                                                                   : ShopOutcome::Failed;
}

}  // namespace korvel::batch
