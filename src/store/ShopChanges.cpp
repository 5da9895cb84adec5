#include <algorithm>

#include "store/StoreQueries.h"

namespace korvel::store {
namespace {

bool Comparable(const RunSummary& run)
{
    return (run.end == RunEnd::Complete || run.end == RunEnd::Incomplete) && run.productCount > 0;
}

}  // namespace

ChangeReport CompareLatestRuns(const std::vector<RunSummary>& runs, const ProductsOf& products,
                               const LowestBeforeRun& lowestBefore)
{
    ChangeReport report;
    auto latest = std::find_if(runs.rbegin(), runs.rend(), Comparable);
    if (latest == runs.rend()) {
        report.nothing = NothingToCompare::NoRun;
        return report;
    }
    report.after = *latest;
    auto earlier = std::find_if(std::next(latest), runs.rend(),
                                [](const RunSummary& run) { return run.end == RunEnd::Complete; });
    if (earlier == runs.rend()) {
        report.nothing = NothingToCompare::NoEarlierComplete;
        return report;
    }
    report.before = *earlier;
    report.changes = CompareRuns(products(*earlier), products(*latest), latest->end == RunEnd::Complete,
                                 lowestBefore(*latest));
    return report;
}

ChangeReport ShopChanges(Database& db, const std::string& host)
{
    return CompareLatestStored(
        StoredRuns(db, host), [&](const StoredRun& run) { return ReadProducts(db, run); },
        [&](const StoredRun& run) { return LowestBefore(db, run); });
}

}  // namespace korvel::store
