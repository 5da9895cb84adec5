#include "HistoryCommands.h"
#include "Terminal.h"
#include "store/History.h"

namespace korvel::console {

void RecordInHistory(const CollectCommand& command, const CollectionRun& run)
{
    if (command.noStore)
        return;
    auto history = History::Open(StorePathOf(command));
    const StoreResult<Done> recorded = history.ok() ? history.value()->record(run, KORVEL_VERSION) : history.error();
    if (!recorded.ok())
        Terminal(stderr).line(HistoryNotSavedLine(recorded.error()));
}

}  // namespace korvel::console
