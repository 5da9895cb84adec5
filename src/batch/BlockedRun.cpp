#include <algorithm>

#include "batch/RunBatch.h"
#include "collect/CauseTexts.h"

namespace korvel::batch {

bool IsBlockedRun(const CollectionRun& run)
{
    using namespace cause_text;
    const std::string& cause = run.failureCause;
    return run.end == RunEnd::Failed &&
           (cause.starts_with(Verification) || cause.starts_with(std::string(HttpStatusPrefix) + "429"));
}

bool IsSessionExpiredRun(const CollectionRun& run)
{
    const auto expired = [](const std::string& cause) { return cause.starts_with(cause_text::SessionExpired); };
    return (run.end == RunEnd::Failed && expired(run.failureCause)) ||
           std::any_of(run.lostPages.begin(), run.lostPages.end(),
                       [&expired](const LostPage& lost) { return expired(lost.cause); });
}

bool IsUnreachableRun(const CollectionRun& run)
{
    using namespace cause_text;
    const std::string& cause = run.failureCause;
    return run.end == RunEnd::Failed &&
           (cause.starts_with(ConnectionRefused) || cause.starts_with(ConnectFailed) || cause.starts_with(UnknownHost));
}

}  // namespace korvel::batch
