#pragma once

// What a batch says while it runs: on a terminal one line redrawn in place, into a pipe or a log
// one plain line per shop (no redrawing an engine's log would keep).

#include <chrono>
#include <string>

#include "batch/ShopOutcome.h"

namespace korvel::batch {

struct BatchTally {
    int total = 0;            // shops of this list (this shard)
    int done = 0;             // finished, earlier runs included
    int notComplete = 0;      // of those, incomplete, failed or blocked
    int doneThisRun = 0;      // finished since this command started: the estimate's base
    long long products = 0;   // collected since this command started
    std::string shop;         // the shop in flight, if any
    int page = 0;
    int pages = 0;            // 0 until page 1 has told
    std::chrono::seconds elapsed{0};
};

// "12/200 shops, 1 not complete, 3456 products | shop1.taobao.com page 3/5 | 0:02:03, about 0:30:00 left"
std::string ProgressLine(const BatchTally& tally);

// "shop1.taobao.com: complete, 120 products" or "...: failed: CAUSE" (the cause as UTF-8).
std::string ShopLine(const std::string& shop, ShopOutcome outcome, long long products, const std::string& cause);

// h:mm:ss
std::string Clock(std::chrono::seconds time);

}  // namespace korvel::batch
