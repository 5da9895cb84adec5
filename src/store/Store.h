#pragma once

// The shop history, whichever store keeps it: the SQLite file of one machine or the PostgreSQL
// database the shards of an array job share. It records each collection whole, reads runs,
// changes and a product's series back, keeps the batches' progress and the shops the window
// follows. Every call is one short transaction and answers with a typed result; a Store is used
// from one thread at a time, and several programs may use one store at once.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "collect/CollectionRun.h"
#include "store/BatchShops.h"
#include "store/HistoryReading.h"
#include "store/StoreError.h"

namespace korvel {

class Cancellation;

// One run that showed the product, with its first occurrence's fields.
struct SeriesPoint {
    std::int64_t run = 0;
    std::chrono::system_clock::time_point started;
    RunEnd end = RunEnd::Interrupted;
    std::string salePrice;  // GBK, as extracted
    std::string sold;
};

// What a batch keeps of its shops: the store itself, or for a batch that records nothing the
// memory of its one process (batch/MemoryLedger.h).
class BatchLedger {
public:
    virtual ~BatchLedger() = default;

    // The listed hosts' states in list order, entering hosts the batch has not seen as pending.
    // Only these hosts are touched: the other shards' shops stay as they are.
    virtual StoreResult<std::vector<batch::ShopState>> beginBatch(const std::string& batch,
                                                                  const std::vector<std::string>& hosts,
                                                                  batch::BatchStart start) = 0;
    // Records the run and the shop as recorded with its outcome, in one transaction; a shop the
    // batch recorded already adds nothing. The run's number among the shop's runs.
    virtual StoreResult<std::int64_t> recordInBatch(const std::string& batch, const CollectionRun& run,
                                                    batch::ShopOutcome outcome) = 0;
    virtual StoreResult<Done> markDelivered(const std::string& batch, const std::string& host) = 0;
    // A recorded run with its products, as it was collected.
    virtual StoreResult<CollectionRun> run(const std::string& host, std::int64_t number) = 0;
};

class Store : public BatchLedger {
public:
    // The run and its products in one transaction, there whole or not at all; its number among
    // the shop's runs.
    virtual StoreResult<std::int64_t> record(const CollectionRun& run) = 0;
    // The hosts with at least one run, in byte order.
    virtual StoreResult<std::vector<std::string>> shops() = 0;
    // Oldest first. Hosts are looked up as the history keys them (ShopKey).
    virtual StoreResult<std::vector<RunSummary>> runs(const std::string& host) = 0;
    virtual StoreResult<ChangeReport> changes(const std::string& host) = 0;
    // Oldest first: the runs that showed the product.
    virtual StoreResult<std::vector<SeriesPoint>> series(const std::string& host, const std::string& id) = 0;

    // From any thread: the call under way ends at once with an error, and so does every later
    // wait for another program's lock, so that a closing window is never held by the store.
    virtual void interrupt() = 0;

    // The shops the window follows, in the order they were added.
    virtual StoreResult<std::vector<std::string>> followedShops() = 0;
    // Hosts followed already stay where they are.
    virtual StoreResult<Done> follow(const std::vector<std::string>& hosts) = 0;
    virtual StoreResult<Done> unfollow(const std::string& host) = 0;
    // The followed shops `batch` has still to collect.
    virtual StoreResult<std::int64_t> pendingFollowed(const std::string& batch) = 0;
};

// A run asked for by its number that the store does not hold.
StoreError RunNotFound(const std::string& host, std::int64_t number);

// postgresql:// or postgres://: a store given as a database address rather than a file.
bool IsDatabaseAddress(const std::string& location);

// The store's address as a message may name it: a database address without its password (in the
// user part or the query), anything else with "://" cut to its host and path, a file name whole.
std::string ShownAddress(const std::string& location);

// The store at a UTF-8 file path (its folders and file created when missing) or a postgresql://
// address (connecting waits at most 10 s), checked and brought up to this program's schema; a
// newer or foreign store is refused untouched. `programVersion` is written with every run. A file
// store waiting for another program's lock gives up once `stop` is cancelled.
StoreResult<std::unique_ptr<Store>> OpenStore(const std::string& location, const std::string& programVersion,
                                              const Cancellation* stop = nullptr);

}  // namespace korvel
