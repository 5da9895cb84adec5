#include "batch/MemoryLedger.h"

namespace korvel::batch {

StoreResult<std::vector<ShopState>> MemoryLedger::beginBatch(const std::string&,
                                                             const std::vector<std::string>& hosts,
                                                             BatchStart)
{
    std::vector<ShopState> states;
    for (const std::string& host : hosts) {
        ShopState& state = shops_[host];
        state.host = host;
        states.push_back(state);
    }
    return states;
}

StoreResult<std::int64_t> MemoryLedger::recordInBatch(const std::string&, const CollectionRun& run,
                                                      ShopOutcome outcome)
{
    ShopState& state = shops_[run.shopHost];
    if (state.stage != ShopStage::Pending)
        return state.run;
    state = ShopState{run.shopHost, ShopStage::Recorded, outcome, 1};
    undelivered_.insert_or_assign({run.shopHost, state.run}, run);
    return state.run;
}

StoreResult<Done> MemoryLedger::markDelivered(const std::string&, const std::string& host)
{
    ShopState& state = shops_[host];
    state.stage = ShopStage::Delivered;
    undelivered_.erase({host, state.run});
    return Done{};
}

StoreResult<CollectionRun> MemoryLedger::run(const std::string& host, std::int64_t number)
{
    const auto found = undelivered_.find({host, number});
    if (found == undelivered_.end())
        return RunNotFound(host, number);
    return found->second;
}

}  // namespace korvel::batch
