#include "store/Store.h"

#include "pgstore/PgAddress.h"

namespace korvel {

bool IsDatabaseAddress(const std::string& location)
{
    return location.starts_with("postgresql://") || location.starts_with("postgres://");
}

std::string ShownAddress(const std::string& location)
{
    return pg::RedactedAddress(location);
}

StoreError RunNotFound(const std::string& host, std::int64_t number)
{
    return {StoreFailure::InputOutput, "run " + std::to_string(number) + " of " + host + " is not in the store"};
}

}  // namespace korvel
