#pragma once

// A collection as a job: it runs on a thread of its own, owns its cancellation and reports through
// its observer, from that thread, ending with the observer's finished(). The inputs and the
// observer must outlive the job.

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "base/Cancellation.h"
#include "collect/RunCollection.h"

namespace korvel {

class CollectionJob {
public:
    // Starts the run at once.
    CollectionJob(const CollectionSettingsSource& inputs, CollectionObserver& observer, FetchPolicy policy = {});
    // Cancels the run and waits for its thread, which a cancellation ends at once.
    ~CollectionJob();
    CollectionJob(const CollectionJob&) = delete;
    CollectionJob& operator=(const CollectionJob&) = delete;

    Cancellation& cancellation() { return cancel_; }
    // True once the run has ended, waiting at most `timeout` for it.
    [[nodiscard]] bool waitFor(std::chrono::milliseconds timeout);

private:
    Cancellation cancel_;
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread thread_;
};

}  // namespace korvel
