#include "app/MonitorRecording.h"

#include "app/AppConstants.h"
#include "store/History.h"
#include "store/StorePath.h"

namespace korvel {

std::string RecordFinishedRun(const CollectionRun& run)
{
    auto history = History::Open(DefaultStorePath());
    const StoreResult<Done> recorded =
        history.ok() ? history.value()->record(run, MakeAppConstants().versionText) : history.error();
    return recorded.ok() ? "" : HistoryNotSavedLine(recorded.error());
}

}  // namespace korvel
