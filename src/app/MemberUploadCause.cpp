#include "app/MemberUploadCause.h"

#include "collect/FailureCause.h"

namespace korvel {

std::string UploadCause(const HttpOutcome& outcome)
{
    FetchedPage page;
    page.outcome = outcome;
    return CauseText(page);
}

}  // namespace korvel
