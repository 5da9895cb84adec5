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
    int error = 0;       // errno of the failed call
    std::string path;    // the file or folder it failed on
    std::string detail;  // why, when errno alone does not say (a link, another user's file)
    bool ok() const { return failure == SessionFileFailure::None; }
};

struct [[nodiscard]] StoredCookies {
    std::vector<Cookie> cookies;
    SessionFileResult result;
    // Which sign-in the file holds: made anew when a session is kept in an empty store, carried
    // over by every later write, gone with 退出登录. Empty in a file from before it was kept.
    std::string session;
    // Said once: the file or its folder could be read by others and was made the owner's alone.
    std::string tightened;
};

// This run's own changes to the session, since it last read or wrote the store.
struct CookieChanges {
    std::vector<Cookie> set;      // added or changed
    std::vector<Cookie> removed;  // by domain, path and name
    bool empty() const { return set.empty() && removed.empty(); }
};
CookieChanges ChangesBetween(const std::vector<Cookie>& before, const std::vector<Cookie>& after);

// Where the session is kept; empty when neither XDG_DATA_HOME nor HOME says.
std::string DefaultSessionPath();

// A missing file is an empty session. Only the marketplace's unexpired cookies are read. The file
// is opened without following a link and must be the user's own; a file or folder others may
// read is made the owner's alone (said in `tightened`).
StoredCookies LoadStore(const std::string& path);

// Every write below holds the store's lock file (PATH.lock) from its reading of the file to its
// rename, so writers in several processes never undo one another.

// Replaces the file with these cookies (the marketplace's unexpired ones), keeping its session.
SessionFileResult SaveStore(const std::string& path, const std::vector<Cookie>& cookies);

// Adds the cookies to those the file holds now (a sign-in, an import).
SessionFileResult AddToStore(const std::string& path, const std::vector<Cookie>& cookies);

// A run's changes laid over what the file holds now, only while it still holds the session the
// run began with (`session`, updated when the store names it): after 退出登录 (and any sign-in
// since) the run's changes are dropped and `stale` is set.
SessionFileResult MergeIntoStore(const std::string& path, const CookieChanges& changes, std::string& session,
                                 bool& stale);

// Forgets the session: the file is removed.
SessionFileResult ClearStore(const std::string& path);

// A cookies.txt file given for one run: read, never written.
StoredCookies ReadCookiesFile(const std::string& path);

}  // namespace korvel
