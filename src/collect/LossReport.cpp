#include "collect/LossReport.h"

#include <algorithm>

#include "collect/CauseTexts.h"
#include "collect/FailureCause.h"
#include "text/Text.h"

namespace korvel {
namespace {

using namespace cause_text;

std::string Range(int first, int last)
{
    return first == last ? IntToText(first) : IntToText(first) + RangeDash + IntToText(last);
}

std::string Pages(const std::vector<int>& pages)
{
    return PageWord + PageList(pages);
}

}  // namespace

std::string PageList(const std::vector<int>& pages)
{
    std::vector<int> sorted = pages;
    std::sort(sorted.begin(), sorted.end());
    std::string list;
    for (size_t at = 0; at < sorted.size();) {
        size_t end = at;
        while (end + 1 < sorted.size() && sorted[end + 1] == sorted[end] + 1)
            ++end;
        list += (list.empty() ? "" : ListSeparator) + Range(sorted[at], sorted[end]);
        at = end + 1;
    }
    return list;
}

void LossReport::addToLine(const std::string& line, int page)
{
    if (!pagesByLine_.count(line))
        lineOrder_.push_back(line);
    pagesByLine_[line].push_back(page);
}

std::optional<LostPage> LossReport::record(int page, const FetchedPage& fetched, int products)
{
    if (products > 0) {
        emptyRun_.clear();
        if (!fetched.failed())
            return std::nullopt;
        const std::string cause = CauseWithRetries(fetched);
        addToLine(PagesIncomplete + cause, page);
        return LostPage{page, cause, true};
    }
    const bool failed = fetched.failed() || fetched.text.empty() || IsVerificationPage(fetched.text);
    emptyRun_.push_back({page, failed});
    if (!failed) {
        empty_.push_back(page);
        return LostPage{page, NoItemsOnPage};
    }
    const std::string cause = CauseWithRetries(fetched);
    addToLine(PagesFailed + cause, page);
    return LostPage{page, cause};
}

bool LossReport::shouldStop() const
{
    const auto empty = std::count_if(emptyRun_.begin(), emptyRun_.end(), [](const Loss& loss) { return !loss.failed; });
    return empty >= StopAfterEmptyPages || emptyRun_.size() >= StopAfterLostPages;
}

void LossReport::stopBefore(int lastPage)
{
    // The early end covers the pages after the run's last failed one that merely came without
    // products, and every page not requested; failed pages keep their causes and earlier pages
    // without products stay listed as such. A run that ended on failed pages says the rest were not
    // asked for.
    auto tail = emptyRun_.end();
    while (tail != emptyRun_.begin() && !std::prev(tail)->failed)
        --tail;
    lastPage_ = lastPage;
    if (tail != emptyRun_.end()) {
        stoppedFrom_ = tail->page;
        std::erase_if(empty_, [this](int page) { return page >= stoppedFrom_; });
        return;
    }
    stoppedFrom_ = emptyRun_.back().page + 1;
    const auto lastEmpty = std::find_if(emptyRun_.rbegin(), emptyRun_.rend(), [](const Loss& l) { return !l.failed; });
    failedBeforeStop_ = static_cast<int>(lastEmpty - emptyRun_.rbegin());
}

std::string LossReport::lines() const
{
    std::string text;
    const auto addLine = [&text](const std::string& line) { text += (text.empty() ? "" : "\n") + line; };
    for (const std::string& line : lineOrder_)
        addLine(Pages(pagesByLine_.at(line)) + line);
    if (!empty_.empty())
        addLine(Pages(empty_) + PagesEmpty);
    if (stoppedFrom_ == 0 || stoppedFrom_ > lastPage_)
        return text;
    if (failedBeforeStop_ > 0)
        addLine(PageWord + Range(stoppedFrom_, lastPage_) + PagesNotRequested + IntToText(failedBeforeStop_) +
                PagesNotRequestedSuffix);
    else
        addLine(PageWord + Range(stoppedFrom_, lastPage_) + PagesStopped);
    return text;
}

}  // namespace korvel
