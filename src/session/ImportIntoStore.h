#pragma once

// An import: the source's marketplace cookies laid over the kept session's, replacing those of
// the same domain, path and name.

#include <string>

#include "session/CookieStore.h"
#include "session/ImportSource.h"

namespace korvel {

struct [[nodiscard]] StoreImport {
    ImportResult read;  // its failure: nothing was imported
    SessionFileResult saved;  // not ok: read, but the store could not be read or written
    bool imported() const { return read.failure == ImportFailure::None && saved.ok(); }
};

StoreImport ImportIntoStore(const ImportSource& source, const std::string& path = DefaultSessionPath());

}  // namespace korvel
