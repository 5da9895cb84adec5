#pragma once

// A kept cookie session a request may carry instead of the client's own cookie store: its cookies
// go into the request's own cookie engine, which scopes them by domain and path as a browser does,
// and whatever the engine holds once the response is in goes back to the session. No other
// request ever sees them.

#include <string>

namespace korvel {

class CookieSession {
public:
    virtual ~CookieSession() = default;
    // The cookies to send with, as Netscape cookies.txt lines.
    virtual std::string cookieLines() const = 0;
    // The engine's cookies after a response, the same way: the session decides what it keeps.
    virtual void keep(const std::string& lines) = 0;
};

}  // namespace korvel
