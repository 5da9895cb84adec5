#include "HistoryCommands.h"
#include "HistoryStore.h"
#include "Terminal.h"

namespace korvel::console {

void RecordInHistory(const CollectCommand& command, const CollectionRun& run)
{
    if (command.noStore)
        return;
    const StoreResult<Done> recorded = RecordIntoStore(command, run);
    if (!recorded.ok())
        Terminal(stderr).line(HistoryNotSavedLine(recorded.error()));
}

}  // namespace korvel::console
