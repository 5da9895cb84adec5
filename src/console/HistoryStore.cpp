#include "HistoryStore.h"

#include "HistoryCommands.h"
#include "pgstore/PgHistory.h"
#include "pgstore/PgStore.h"
#include "store/History.h"

namespace korvel::console {
namespace {

bool IsShared(const CollectCommand& command)
{
    return command.storeFile && pg::IsPostgresUri(*command.storeFile);
}

template <typename Store>
StoreResult<std::unique_ptr<HistoryReading>> AsReading(StoreResult<std::unique_ptr<Store>> opened)
{
    if (!opened.ok())
        return opened.error();
    return std::unique_ptr<HistoryReading>(std::move(opened.value()));
}

template <typename Store>
StoreResult<Done> RecordInto(StoreResult<std::unique_ptr<Store>> opened, const CollectionRun& run)
{
    return opened.ok() ? opened.value()->record(run, KORVEL_VERSION) : opened.error();
}

}  // namespace

StoreResult<std::unique_ptr<HistoryReading>> OpenHistoryReading(const CollectCommand& command)
{
    if (IsShared(command))
        return AsReading(pg::PgHistory::Open(*command.storeFile));
    return AsReading(History::Open(StorePathOf(command)));
}

StoreResult<Done> RecordIntoStore(const CollectCommand& command, const CollectionRun& run)
{
    if (IsShared(command))
        return RecordInto(pg::PgHistory::Open(*command.storeFile), run);
    return RecordInto(History::Open(StorePathOf(command)), run);
}

}  // namespace korvel::console
