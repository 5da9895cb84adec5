#pragma once

// The store's failures as SQLite reports them, turned into the user's kinds and words.

#include "store/Sqlite.h"
#include "store/StoreError.h"

namespace korvel::store {

StoreError ErrorFrom(const SqliteFailure& failure);
StoreError ErrorOf(StoreFailure kind, const std::string& detail);

}  // namespace korvel::store
