#include "pgstore/PgStore.h"
#include "store/SqliteStore.h"

namespace korvel {

StoreResult<std::unique_ptr<Store>> OpenStore(const std::string& location, const std::string& programVersion,
                                              const Cancellation* stop)
{
    if (IsDatabaseAddress(location))
        return pg::PgStore::Open(location, programVersion);
    return store::SqliteStore::Open(location, programVersion, stop);
}

}  // namespace korvel
