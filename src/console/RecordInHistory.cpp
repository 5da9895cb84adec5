#include "HistoryCommands.h"
#include "HistoryStore.h"
#include "Terminal.h"

namespace korvel::console {

void RecordInHistory(const CollectCommand& command, const CollectionRun& run)
{
    if (command.noStore)
        return;
    auto history = OpenHistory(command);
    const StoreResult<std::int64_t> recorded = history.ok() ? history.value()->record(run) : history.error();
    if (!recorded.ok())
        Terminal(stderr).line(HistoryNotSavedLine(recorded.error()));
}

}  // namespace korvel::console
