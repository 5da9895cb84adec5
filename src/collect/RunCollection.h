#pragma once

#include "collect/CollectionScreen.h"
#include "collect/PageFetch.h"

namespace korvel {

// How a run ended: with the success message (every page collected, or some lost and named under
// it), with a failure's message, or cut short because the screen was closing (nothing shown then).
enum class [[nodiscard]] RunOutcome { Collected, CollectedWithLosses, Failed, Abandoned };

// What the start button does: one whole collection of the shop in the address field, page by
// page, into the screen's product list, ending with a message box. The pages' requests run through
// the screen's await(), retried and paced as the policy says.
RunOutcome RunCollection(CollectionScreen& screen, const FetchPolicy& policy = {});

}  // namespace korvel
