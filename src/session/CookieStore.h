#pragma once

// Korvel's kept marketplace session: a cookies.txt file of its own beside the history store,
// $XDG_DATA_HOME/korvel/cookies.txt (~/.local/share when the variable is unset), in a folder only
// its owner may enter (0700), readable by its owner alone (0600), replaced whole at every write so
// that a crash leaves the old session or the new one, never half of either.

#include <string>
#include <vector>

#include "session/Cookie.h"

namespace korvel {

enum class SessionFileFailure { None, NoHome, CannotRead, CannotCreateFolder, CannotWrite };

struct [[nodiscard]] SessionFileResult {
    SessionFileFailure failure = SessionFileFailure::None;
    int error = 0;     // errno of the failed call
    std::string path;  // the file or folder it failed on
    bool ok() const { return failure == SessionFileFailure::None; }
};

struct [[nodiscard]] StoredCookies {
    std::vector<Cookie> cookies;
    SessionFileResult result;
};

// Where the session is kept; empty when neither XDG_DATA_HOME nor HOME says.
std::string DefaultSessionPath();

// A missing file is an empty session. Only the marketplace's unexpired cookies are read.
StoredCookies LoadStore(const std::string& path);

// Replaces the file with these cookies (the marketplace's unexpired ones).
SessionFileResult SaveStore(const std::string& path, const std::vector<Cookie>& cookies);

// Forgets the session: the file is removed.
SessionFileResult ClearStore(const std::string& path);

// A cookies.txt file given for one run: read, never written.
StoredCookies ReadCookiesFile(const std::string& path);

}  // namespace korvel
