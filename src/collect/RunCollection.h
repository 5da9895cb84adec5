#pragma once

#include "base/Cancellation.h"
#include "collect/CollectionObserver.h"
#include "collect/PageFetch.h"

namespace korvel {

// One whole collection of the shop in the inputs' address, page by page: each page's products are
// kept in the run and shown to the observer as the page gives them, the pages lost are named, and
// the record it returns is the whole run. Runs on the caller's thread; the
// requests are retried and paced as the policy says and end at once when `cancel` is cancelled,
// which ends the run as Interrupted.
CollectionRun RunCollection(const CollectionSettingsSource& inputs, CollectionObserver& observer,
                            Cancellation& cancel, const FetchPolicy& policy = {});

}  // namespace korvel
