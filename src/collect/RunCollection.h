#pragma once

#include "collect/CollectionScreen.h"

namespace korvel {

// What the start button does: one whole collection of the shop in the address field, page by
// page, into the screen's product list, ending with a message box.
void RunCollection(CollectionScreen& screen);

}  // namespace korvel
