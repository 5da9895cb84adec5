#include "store/StoreQueries.h"

namespace korvel::store {
namespace {

bool Comparable(const RunSummary& run)
{
    return (run.end == RunEnd::Complete || run.end == RunEnd::Incomplete) && run.productCount > 0;
}

}  // namespace

ChangeReport ShopChanges(Database& db, const std::string& host)
{
    const std::vector<StoredRun> runs = StoredRuns(db, host);
    ChangeReport report;
    auto latest = runs.rbegin();
    while (latest != runs.rend() && !Comparable(latest->summary))
        ++latest;
    if (latest == runs.rend()) {
        report.nothing = NothingToCompare::NoRun;
        return report;
    }
    report.after = latest->summary;
    auto earlier = std::next(latest);
    while (earlier != runs.rend() && earlier->summary.end != RunEnd::Complete)
        ++earlier;
    if (earlier == runs.rend()) {
        report.nothing = NothingToCompare::NoEarlierComplete;
        return report;
    }
    report.before = earlier->summary;
    report.changes = CompareRuns(RunProducts(db, *earlier), RunProducts(db, *latest),
                                 latest->summary.end == RunEnd::Complete, LowestBefore(db, *latest));
    return report;
}

}  // namespace korvel::store
