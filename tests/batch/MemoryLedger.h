#pragma once

// A batch's progress kept in memory, as the stores keep it: the tests of the batch's course.

#include <map>

#include "batch/BatchLedger.h"

namespace korvel::batch {

class MemoryLedger : public BatchLedger {
public:
    std::optional<std::vector<ShopState>> begin(const std::string&, const std::vector<std::string>& hosts,
                                                BatchStart start) override
    {
        if (failing)
            return std::nullopt;
        std::vector<ShopState> states;
        for (const std::string& host : hosts) {
            ShopState& state = shops[host];
            state.host = host;
            const bool retry = start == BatchStart::RetryFailed && state.outcome != ShopOutcome::Complete;
            if (start == BatchStart::Fresh || retry)
                state = ShopState{host, ShopStage::Pending, std::nullopt, 0};
            states.push_back(state);
        }
        return states;
    }
    std::optional<std::int64_t> record(const std::string&, const CollectionRun& run, ShopOutcome outcome) override
    {
        if (failing)
            return std::nullopt;
        runs.push_back(run);
        const std::int64_t number = ++numbers[run.shopHost];
        shops[run.shopHost] = ShopState{run.shopHost, ShopStage::Recorded, outcome, number};
        return number;
    }
    bool markDelivered(const std::string&, const std::string& host) override
    {
        shops[host].stage = ShopStage::Delivered;
        return !failing;
    }
    std::optional<CollectionRun> loadRun(const std::string& host, std::int64_t run) override
    {
        for (const CollectionRun& recorded : runs) {
            if (recorded.shopHost == host && --run == 0)
                return recorded;
        }
        return std::nullopt;
    }
    std::string lastError() const override { return "disk I/O error"; }

    std::map<std::string, ShopState> shops;
    std::vector<CollectionRun> runs;
    std::map<std::string, std::int64_t> numbers;
    bool failing = false;
};

}  // namespace korvel::batch
