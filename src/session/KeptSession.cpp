#include "session/KeptSession.h"

#include "session/CookiesTxt.h"

namespace korvel {

KeptSession::KeptSession(std::vector<Cookie> cookies, std::string storePath, std::string session)
    : cookies_(KeptCookies(std::move(cookies), UnixNow())), storePath_(std::move(storePath)), session_(std::move(session))
{
}

std::string KeptSession::cookieLines() const
{
    std::lock_guard lock(mutex_);
    std::string lines;
    for (const Cookie& cookie : cookies_)
        lines += CookieLine(cookie) + '\n';
    return lines;
}

void KeptSession::keep(const std::string& lines)
{
    std::vector<Cookie> kept = KeptCookies(ParseCookiesTxt(lines), UnixNow());
    std::lock_guard lock(mutex_);
    if (kept == cookies_)
        return;
    // Only what this response changed goes to the store: a sign-in, an import or another run's
    // changes made meanwhile stay, and a sign-out made meanwhile wins.
    const CookieChanges changes = ChangesBetween(cookies_, kept);
    cookies_ = std::move(kept);
    if (storePath_.empty() || signedOut_)
        return;
    bool stale = false;
    const SessionFileResult saved = MergeIntoStore(storePath_, changes, session_, stale);
    signedOut_ = stale;
    saveFailure_ = saved.ok() ? std::nullopt : std::optional(saved);
}

std::vector<Cookie> KeptSession::cookies() const
{
    std::lock_guard lock(mutex_);
    return cookies_;
}

std::optional<SessionFileResult> KeptSession::saveFailure() const
{
    std::lock_guard lock(mutex_);
    return saveFailure_;
}

std::unique_ptr<KeptSession> KeptSessionFromStore(const std::string& path)
{
    StoredCookies kept = LoadStore(path);
    if (kept.cookies.empty())
        return nullptr;
    return std::make_unique<KeptSession>(std::move(kept.cookies), path, std::move(kept.session));
}

}  // namespace korvel
