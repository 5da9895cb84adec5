#pragma once

// How one shop of a batch ended, by name, and what a batch's end makes of it.

#include <optional>
#include <string_view>

#include "store/BatchShops.h"

namespace korvel::batch {

// "complete", "incomplete", "failed", "blocked".
std::string_view OutcomeName(ShopOutcome outcome);
std::optional<ShopOutcome> OutcomeNamed(std::string_view name);

// Three blocked shops in a row (within one run of the command) stop the batch: the marketplace
// has noticed it, and going on would only deepen the block.
class BlockedStreak {
public:
    static constexpr int Limit = 3;
    // True when this shop makes the streak long enough to stop.
    bool add(ShopOutcome outcome)
    {
        inARow_ = outcome == ShopOutcome::Blocked ? inARow_ + 1 : 0;
        return inARow_ >= Limit;
    }

private:
    int inARow_ = 0;
};

// korvel-collect --batch's exit statuses; an engine's retry policy reads them (0 and 4 final,
// 5 later, 1 and 130 again).
namespace batch_exit {
inline constexpr int AllComplete = 0;
inline constexpr int StoreUnreachable = 1;
inline constexpr int SessionExpired = 1;  // sign in again, then resume
inline constexpr int BadArguments = 2;
inline constexpr int CannotWrite = 3;
inline constexpr int SomeNotComplete = 4;
inline constexpr int Blocked = 5;
inline constexpr int Interrupted = 130;
}  // namespace batch_exit

enum class BatchEnd { Finished, StoppedBlocked, Interrupted };

// The exit status of a batch that ran: `allComplete` counts the shops of this list (this shard)
// as the store holds them, earlier runs of the batch included.
int BatchExitStatus(BatchEnd end, bool allComplete);

}  // namespace korvel::batch
