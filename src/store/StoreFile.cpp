#include "store/StoreFile.h"

#include <filesystem>
#include <system_error>

#include "store/Schema.h"
#include "store/StoreFailureText.h"

namespace korvel::store {

StoreResult<std::unique_ptr<Database>> OpenStoreFile(const std::string& path, const Cancellation* stop)
{
    if (path.empty())  // SQLite would open a private temporary database: nothing would be kept
        return ErrorOf(StoreFailure::CannotOpen, "$HOME");
    // A database address (KORVEL_STORE=postgresql://... set for korvel-collect's shards) is no file
    // name: opened as one it would make a folder named after it and keep the history there.
    if (path.find("://") != std::string::npos)
        return ErrorOf(StoreFailure::CannotOpen, path.substr(0, path.find("://") + 3));
    std::error_code ignored;  // a folder that cannot be made fails the open, which says why
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    try {
        auto db = std::make_unique<Database>(path, stop);
        PrepareStore(*db);
        db->stopWaitingOn(nullptr);
        return db;
    } catch (const SqliteFailure& failure) {
        return ErrorFrom(failure);
    } catch (const StoreRefused& refused) {
        if (refused.newerVersion)
            return ErrorOf(StoreFailure::NewerVersion, "user_version " + std::to_string(refused.version) + " > " +
                                                           std::to_string(SchemaVersion));
        return ErrorOf(StoreFailure::NotAStore, "");
    }
}

}  // namespace korvel::store
