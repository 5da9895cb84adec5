#pragma once

#include "pgstore/Pg.h"

namespace korvel::pg {

inline constexpr int SchemaVersion = 2;

// Creates or migrates the tables at first use. Shards that start at once queue on one advisory
// lock, so exactly one of them migrates and the others find the work done; a store from a newer
// version is refused and left as it is.
void PrepareSchema(Connection& connection);

}  // namespace korvel::pg
