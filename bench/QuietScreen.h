#pragma once

// A whole collection for benchmarks: the run keeps its products, nothing is shown.

#include <chrono>
#include <string>

#include "collect/RunCollection.h"

namespace korvel {

// Seconds for one whole run of the shop at `host`; negative when the run did not collect every page
// and product.
inline double TimedRun(const std::string& host, std::size_t expectedRows)
{
    const FixedInputs inputs({host, DefaultCollectionSettings()});
    CollectionObserver quiet;
    Cancellation cancel;
    const auto start = std::chrono::steady_clock::now();
    const CollectionRun run = RunCollection(inputs, quiet, cancel);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return run.end == RunEnd::Complete && run.products.size() == expectedRows ? seconds : -1;
}

}  // namespace korvel
