#include "HistoryStore.h"

#include "HistoryCommands.h"
#include "pgstore/PgHistory.h"
#include "pgstore/PgStore.h"
#include "store/History.h"

namespace korvel::console {
namespace {


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
    // $KORVEL_STORE may name the shared store as well as --store.
    const std::string store = StorePathOf(command);
    if (pg::IsPostgresUri(store))
        return AsReading(pg::PgHistory::Open(store));
    return AsReading(History::Open(store));
}

StoreResult<Done> RecordIntoStore(const CollectCommand& command, const CollectionRun& run)
{
    const std::string store = StorePathOf(command);
    if (pg::IsPostgresUri(store))
        return RecordInto(pg::PgHistory::Open(store), run);
    return RecordInto(History::Open(store), run);
}

}  // namespace korvel::console
