#include "session/KeptSession.h"

#include "session/CookiesTxt.h"

namespace korvel {

KeptSession::KeptSession(std::vector<Cookie> cookies, std::string storePath)
    : cookies_(KeptCookies(std::move(cookies), UnixNow())), storePath_(std::move(storePath))
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
    cookies_ = std::move(kept);
    if (storePath_.empty())
        return;
    const SessionFileResult saved = SaveStore(storePath_, cookies_);
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
    return std::make_unique<KeptSession>(std::move(kept.cookies), path);
}

}  // namespace korvel
