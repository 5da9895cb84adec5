#pragma once

// The collection's events on a console: the page count and the counters as progress lines, the
// closing message as "title: message". On a terminal one line shows the page, the products and
// the time taken, redrawn at most every 100 ms and once a second while a page is awaited; into a
// pipe or a file every caption is a line of its own. The run's products are kept here for the
// exports: they are the run's record, not a table.

#include <chrono>
#include <mutex>
#include <string>

#include "Terminal.h"
#include "collect/CollectionObserver.h"

namespace korvel::console {

class ConsoleView : public CollectionObserver {
public:
    explicit ConsoleView(Terminal& terminal) : terminal_(terminal) {}

    void pageCountRead(int shown) override;
    void pageStarted(int page, int pageCount) override;
    void productsFound(const ProductSlice& products) override;
    void finished(const CollectionRun& run) override;

    // From the waiting thread: the progress line goes on counting the seconds.
    void tick();

    // The run as it finished, whole.
    CollectionRun takeRun();

private:
    void showProgress();

    Terminal& terminal_;
    std::mutex mutex_;
    CollectionRun run_;
    int products_ = 0;
    bool ended_ = false;
    int page_ = 0;
    int pageCount_ = 0;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point shown_{};
};

}  // namespace korvel::console
