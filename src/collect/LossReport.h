#pragma once

// The pages a run lost after page 1: those that failed after their retries (with the cause), those
// that failed part-way but gave the products that arrived (incomplete, with the cause) and those
// that arrived without products although page 1 had them. A run that keeps meeting pages
// without products (a page count far beyond the shop's real pages) ends early instead of asking
// for every one of them. The lines go under the run's closing message, GBK.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "collect/CollectionRun.h"
#include "collect/PageFetch.h"

namespace korvel {

class LossReport {
public:
    // A run stops requesting after this many later pages in a row that arrived without products,
    // or after StopAfterLostPages in a row that gave none, failed or empty: a page count far beyond
    // the shop's real pages, or a shop that no longer answers.
    static constexpr int StopAfterEmptyPages = 3;
    static constexpr int StopAfterLostPages = 5;

    // The outcome of a later page and the number of products it gave; the loss, when it was one.
    std::optional<LostPage> record(int page, const FetchedPage& fetched, int products);
    // True once the run should request no further page.
    bool shouldStop() const;
    // The run stopped after the current page, `lastPage` being the shop's last.
    void stopBefore(int lastPage);

    bool empty() const { return lineOrder_.empty() && empty_.empty() && stoppedFrom_ == 0; }
    // One line per cause, then the empty pages, then the early end; "" for a whole run.
    std::string lines() const;

private:
    struct Loss {
        int page;
        bool failed;  // false: arrived without products
    };
    void addToLine(const std::string& line, int page);

    std::map<std::string, std::vector<int>> pagesByLine_;  // what follows the pages on a line
    std::vector<std::string> lineOrder_;
    std::vector<int> empty_;
    std::vector<Loss> emptyRun_;  // the latest pages without products, in a row
    int stoppedFrom_ = 0;
    int failedBeforeStop_ = 0;  // the run ended on this many failed pages: later ones were not asked for
    int lastPage_ = 0;
};

// "3", "3–5", "2、5、7–9": pages in ascending order, runs joined by a dash. GBK.
std::string PageList(const std::vector<int>& pages);

}  // namespace korvel
