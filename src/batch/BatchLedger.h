#pragma once

// Where a batch keeps its progress: the history store (SQLite on one machine, PostgreSQL for the
// shards of an array job). A shop's run and its "done" mark are one transaction, so after any kill
// the store holds each finished shop's run once and nothing of the shop that was cut off.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "batch/ShopOutcome.h"
#include "collect/CollectionRun.h"

namespace korvel::batch {

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

// Every call may fail (a lost connection, a full disk): the failure's text, never an exception.
class BatchLedger {
public:
    virtual ~BatchLedger() = default;

    // The listed hosts' states in list order, entering hosts the batch has not seen as pending.
    // Only these hosts are touched: the other shards' shops stay as they are.
    virtual std::optional<std::vector<ShopState>> begin(const std::string& batch, const std::vector<std::string>& hosts,
                                                        BatchStart start) = 0;
    // Records the run in the history and the shop as recorded with its outcome, in one
    // transaction; the run's number among the shop's runs (as --runs and --changes show it).
    virtual std::optional<std::int64_t> record(const std::string& batch, const CollectionRun& run,
                                               ShopOutcome outcome) = 0;
    virtual bool markDelivered(const std::string& batch, const std::string& host) = 0;
    // A recorded run, read back to deliver its files again after a kill.
    virtual std::optional<CollectionRun> loadRun(const std::string& host, std::int64_t run) = 0;

    virtual std::string lastError() const = 0;
};

}  // namespace korvel::batch
