#pragma once

// The session a collection's shop requests carry: the marketplace's cookies, from Korvel's store
// or from a cookies.txt file given for one run. What the shops set is taken in (the marketplace's
// unexpired cookies only) and, for the store's session, written back at once. Safe to use from
// the collection's worker while the window reads it.

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "session/CookieStore.h"
#include "web/CookieSession.h"

namespace korvel {

class KeptSession : public CookieSession {
public:
    // storePath empty: the cookies live for this run only (a --cookies file is never rewritten).
    // `session`: the store's session the cookies were read from (StoredCookies::session).
    KeptSession(std::vector<Cookie> cookies, std::string storePath, std::string session = {});

    std::string cookieLines() const override;
    void keep(const std::string& lines) override;

    std::vector<Cookie> cookies() const;
    // The last write to the store that failed, if the latest one did.
    std::optional<SessionFileResult> saveFailure() const;

private:
    mutable std::mutex mutex_;
    std::vector<Cookie> cookies_;
    std::string storePath_;
    std::string session_;
    bool signedOut_ = false;  // the store no longer holds this run's session: it writes no more
    std::optional<SessionFileResult> saveFailure_;
};

// The store's session for a run, its changes merged back into the store as they come (what other
// processes wrote meanwhile stays); none when the store holds no cookie (or cannot be read: the
// run then goes as it always did).
std::unique_ptr<KeptSession> KeptSessionFromStore(const std::string& path = DefaultSessionPath());

}  // namespace korvel
