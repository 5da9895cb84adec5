#pragma once

#include <memory>
#include <string>

#include "store/Sqlite.h"
#include "store/StoreError.h"

namespace korvel::store {

// The store at a UTF-8 path, its folders and file created when missing, checked and brought up to
// this program's schema; a newer or foreign file is refused untouched.
StoreResult<std::unique_ptr<Database>> OpenStoreFile(const std::string& path, const Cancellation* stop = nullptr);

}  // namespace korvel::store
