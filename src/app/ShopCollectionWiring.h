#pragma once

// What the buttons of the page "店铺采集" start: the collection run and the two exports.

#include <memory>

#include "app/WindowCollection.h"

namespace korvel {

class WindowParts;

// The page's collection, its start button and address field and its two export buttons wired.
std::unique_ptr<WindowCollection> AttachShopCollection(WindowParts& window);

}  // namespace korvel
