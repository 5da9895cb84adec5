#pragma once

// What the history's reports read, whichever store keeps it. Both stores keep a product's state as
// intervals of runs, and the comparison itself is the same code for both.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "collect/CollectionRun.h"
#include "store/Changes.h"
#include "store/StoreError.h"

namespace korvel {

struct RunSummary {
    std::int64_t number = 0;  // the shop's runs counted from 1, in the order they ended
    std::string shopHost;
    ShopFamily family = ShopFamily::Taobao;
    std::chrono::system_clock::time_point started;
    std::chrono::system_clock::time_point ended;
    RunEnd end = RunEnd::Interrupted;
    int pageCount = 0;
    int pagesCollected = 0;
    std::vector<LostPage> lostPages;
    int productCount = 0;
    std::string failureCause;
    std::string version;  // the program that recorded it
};

// Why a shop's changes could not be computed yet.
enum class NothingToCompare {
    None,             // the two runs are there
    NoRun,            // no complete or incomplete run with products
    NoEarlierComplete // the latest such run has no complete run before it
};

struct ChangeReport {
    NothingToCompare nothing = NothingToCompare::None;
    RunSummary before;  // when nothing is None
    RunSummary after;   // also for NoEarlierComplete
    std::vector<Change> changes;
};

namespace store {

// Outcomes as both stores spell them, fixed whatever the enum becomes.
std::int64_t OutcomeCode(RunEnd end);
RunEnd OutcomeFrom(std::int64_t code);

// A run's products as recorded, and the lowest sale prices of the complete runs before it; each
// throws the failure type of the store it reads.
using ProductsOf = std::function<std::vector<Product>(const RunSummary&)>;
using LowestBeforeRun = std::function<LowestPrices(const RunSummary&)>;

// The latest run with products against the latest complete run before it; `runs` oldest first.
// The functions are given elements of `runs` itself.
ChangeReport CompareLatestRuns(const std::vector<RunSummary>& runs, const ProductsOf& products,
                               const LowestBeforeRun& lowestBefore);

// The same over a store's own rows of runs (each with its `summary`), read by the store's functions.
template <typename Stored, typename Products, typename Lowest>
ChangeReport CompareLatestStored(const std::vector<Stored>& stored, Products products, Lowest lowest)
{
    std::vector<RunSummary> runs;
    for (const Stored& run : stored)
        runs.push_back(run.summary);
    auto row = [&](const RunSummary& run) -> const Stored& { return stored[size_t(&run - runs.data())]; };
    return CompareLatestRuns(
        runs, [&](const RunSummary& run) { return products(row(run)); },
        [&](const RunSummary& run) { return lowest(row(run)); });
}

}  // namespace store
}  // namespace korvel
