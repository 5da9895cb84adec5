#pragma once

#include "collect/CollectionScreen.h"

namespace korvel {

// How a run ended: with the success message, with a failure's message, or cut short because the
// window was closing (nothing shown then).
enum class RunOutcome { Collected, Failed, Abandoned };

// What the start button does: one whole collection of the shop in the address field, page by
// page, into the screen's product list, ending with a message box.
RunOutcome RunCollection(CollectionScreen& screen);

}  // namespace korvel
