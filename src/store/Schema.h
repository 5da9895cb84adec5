#pragma once

// The store's tables and how a file becomes one. A product's fields are kept as states, each valid
// from the run that first showed them to the last run that showed them unchanged; a run keeps only
// the sequence of its products (one varint each), so an unchanged product costs a run a few bytes.

#include "store/Sqlite.h"

namespace korvel::store {

// The schema version this program writes (PRAGMA user_version).
inline constexpr int SchemaVersion = 3;
// "KRVL": what tells a Korvel store from any other SQLite file (PRAGMA application_id).
inline constexpr int ApplicationId = 0x4B52564C;

// Checks the file before anything is written to it (a store from a newer version, or not a Korvel
// store, throws StoreRefused and stays untouched), then turns on WAL and brings an older or new
// store up to SchemaVersion.
void PrepareStore(Database& db);

struct StoreRefused {
    bool newerVersion = false;  // otherwise: not a Korvel store
    int version = 0;
};

}  // namespace korvel::store
