#pragma once

// A batch's shops as the store keeps them. A shop's run and its "recorded" mark are one
// transaction, so after any kill the store holds each finished shop's run once and nothing of the
// shop that was cut off.

#include <cstdint>
#include <optional>
#include <string>

namespace korvel::batch {

// How one shop of a batch ended, as the store, the JSON Lines and the exit status name it. The
// values are the stores' codes: never renumbered.
enum class ShopOutcome {
    Complete = 0,    // every page
    Incomplete = 1,  // products, but pages lost
    Failed = 2,      // nothing: page 1 failed
    Blocked = 3,     // the marketplace answered with a login or slider page, or 429 after every retry
};

// As the stores keep it: 0 complete, 1 incomplete, 2 failed, 3 blocked; an unknown code reads as failed.
int OutcomeCode(ShopOutcome outcome);
ShopOutcome OutcomeFromCode(long long code);

enum class ShopStage {
    Pending,    // to be collected
    Recorded,   // its run is in the store; its files may not be in place yet
    Delivered,  // its CSV and JSON Lines are written too
};

struct ShopState {
    std::string host;
    ShopStage stage = ShopStage::Pending;
    std::optional<ShopOutcome> outcome;  // once recorded
    std::int64_t run = 0;                // once recorded: the shop's run number, from 1
};

enum class BatchStart {
    Continue,     // finished shops stay finished
    RetryFailed,  // shops that ended incomplete, failed or blocked are pending again
    Fresh,        // every listed shop is pending again
};

}  // namespace korvel::batch
