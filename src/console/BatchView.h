#pragma once

// A batch's progress on stderr: on a terminal one line redrawn in place (shops done and not
// complete of the total, products, the shop and page in flight, elapsed time and an estimate);
// into a pipe or a log one plain line per shop. Shops that did not end complete are named with
// their cause either way.

#include <chrono>
#include <cstdio>
#include <mutex>

#include "batch/ProgressText.h"
#include "batch/RunBatch.h"

namespace korvel::console {

class BatchView : public batch::BatchWatcher {
public:
    explicit BatchView(std::FILE* out);

    void begun(const std::vector<batch::ShopState>& shops) override;
    void shopStarted(const std::string& host) override;
    void shopEnded(const std::string& host, batch::ShopOutcome outcome, long long products,
                   const std::string& cause) override;
    // From the collecting thread: the page in flight.
    void endedEarlier(const std::string& host, batch::ShopOutcome outcome, long long products,
                      const std::string& cause) override;
    void pageStarted(int page, int pages);
    // Ends the redrawn line so what follows starts on a line of its own.
    void finish();

private:
    void redraw();

    std::FILE* out_;
    const bool terminal_;
    std::mutex mutex_;
    batch::BatchTally tally_;
    const std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    bool drawn_ = false;
};

}  // namespace korvel::console
