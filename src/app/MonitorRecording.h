#pragma once

// The window's collections go into the shop history as they end, on the collection's own thread.

#include <string>

#include "collect/CollectionRun.h"

namespace korvel {

// Records the run in the default history; "" when it was saved, else the GBK line that says it
// was not and why ("历史记录未保存：…"), for the closing box.
std::string RecordFinishedRun(const CollectionRun& run);

}  // namespace korvel
