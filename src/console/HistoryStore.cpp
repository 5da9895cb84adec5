#include "HistoryStore.h"

#include "HistoryCommands.h"

namespace korvel::console {

StoreResult<std::unique_ptr<Store>> OpenHistory(const CollectCommand& command)
{
    return OpenStore(StorePathOf(command), KORVEL_VERSION);
}

}  // namespace korvel::console
