#pragma once

// A batch from its list to its exit status: the shops left to collect, one after another in list
// order, each recorded and then delivered to its files; the files of a shop recorded before a kill
// delivered first. The views (korvel-collect, the window) watch it and give it their collector.

#include <string>

#include "base/Cancellation.h"
#include "batch/JsonLinesFile.h"
#include "batch/ShopOutcome.h"
#include "store/Store.h"

namespace korvel::batch {

struct CollectedShop {
    CollectionRun run;     // end Interrupted when cancelled
    bool blocked = false;  // a login or slider page, or 429 after every retry
    bool sessionExpired = false;  // the kept session met a sign-in page: a new sign-in is needed
    bool unreachable = false;     // page 1 never connected: refused, unreachable or no such name
};

class ShopCollector {
public:
    virtual ~ShopCollector() = default;
    // Collects one shop exactly as the single-shop command does.
    virtual CollectedShop collect(const std::string& host) = 0;
};

class BatchWatcher {
public:
    virtual ~BatchWatcher() = default;
    virtual void begun(const std::vector<ShopState>& shops) = 0;
    virtual void shopStarted(const std::string& host) = 0;
    // `cause` as UTF-8; empty when complete.
    virtual void shopEnded(const std::string& host, ShopOutcome outcome, long long products,
                           const std::string& cause) = 0;
    // At the end: a shop an earlier run of the batch left incomplete, failed or blocked, so that
    // every shop behind exit status 4 is named with its cause.
    virtual void endedEarlier(const std::string& host, ShopOutcome outcome, long long products,
                              const std::string& cause) = 0;
};

struct BatchPlan {
    std::string id;
    std::vector<std::string> hosts;  // this shard's, in list order
    BatchStart start = BatchStart::Continue;
    std::optional<std::string> csvFolder;
    JsonLinesFile* jsonLines = nullptr;
};

struct BatchResult {
    int exitStatus = batch_exit::AllComplete;
    std::string error;  // the store's or a file's failure, when one ended the batch
};

ShopOutcome OutcomeOf(const CollectedShop& shop);

// A run the marketplace stopped at page 1: a login or slider check, or 429 after every retry.
bool IsBlockedRun(const CollectionRun& run);
// A run whose kept session met a sign-in page, on any page.
bool IsSessionExpiredRun(const CollectionRun& run);
// A run whose page 1 never reached a server: refused, unreachable, or no name resolution.
bool IsUnreachableRun(const CollectionRun& run);

BatchResult RunBatch(const BatchPlan& plan, BatchLedger& store, ShopCollector& collector, BatchWatcher& watcher,
                     const Cancellation& cancellation);

}  // namespace korvel::batch
