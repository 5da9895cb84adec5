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

}  // namespace korvel::batch
