#pragma once

// The store's failures as SQLite reports them, turned into the user's kinds and words.

#include <exception>

#include "store/Sqlite.h"
#include "store/StoreError.h"

namespace korvel::store {

StoreError ErrorFrom(const SqliteFailure& failure);
StoreError ErrorOf(StoreFailure kind, const std::string& detail);

// Runs a store operation and turns what SQLite threw into the user's words. Anything else thrown
// on the way (a length no run could have) comes from contents the store should never hold: the
// history is reported damaged instead of ending the program.
template <typename Operation>
auto Guarded(Operation operation) -> StoreResult<decltype(operation())>
{
    try {
        return operation();
    } catch (const SqliteFailure& failure) {
        return ErrorFrom(failure);
    } catch (const std::exception& failure) {
        return ErrorOf(StoreFailure::Corrupt, failure.what());
    }
}

}  // namespace korvel::store
