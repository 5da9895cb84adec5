#pragma once

// One shop of a batch collected exactly as the single-shop command collects it, quietly (the
// batch has its own progress), paced with the batch's other shops.

#include <functional>

#include "batch/Pace.h"
#include "batch/RunBatch.h"
#include "collect/PageFetch.h"

namespace korvel::batch {

class BatchCollector : public ShopCollector {
public:
    // `stop` (Ctrl+C) ends the shop in flight at once; `page` hears of each page the run turns to
    // (page, page count).
    BatchCollector(FetchPolicy policy, Pace& pace, Cancellation& stop, std::function<void(int, int)> page)
        : policy_(std::move(policy)), gate_(pace), stop_(stop), page_(std::move(page))
    {
        policy_.gate = &gate_;
    }
    BatchCollector(const BatchCollector&) = delete;
    BatchCollector& operator=(const BatchCollector&) = delete;
    CollectedShop collect(const std::string& host) override;

private:
    CollectedShop collect(const std::string& host, Cancellation& cancel);

    FetchPolicy policy_;
    PacedRequests gate_;
    Cancellation& stop_;
    std::function<void(int, int)> page_;
};

}  // namespace korvel::batch
