#pragma once

// What the HTTP client keeps for the whole process: one share for the client's own cookie store,
// its DNS cache and its TLS sessions, and the idle easy handles that hold open connections.

#include <curl/curl.h>

namespace korvel {

// The process-wide share; each kind of data behind its own mutex, so any thread may use it.
CURLSH* HttpShare();

// Lends one easy handle, attached to the share, to a single request, and takes it back. A lent
// handle keeps the options of its previous request: the borrower sets every option it relies on.
// libcurl's shared connection cache is not safe across threads (a known libcurl fault), so open
// connections stay inside idle handles instead: a request on any thread takes an idle handle and
// with it the connections the earlier requests left open. Requests that use the client's cookie
// store and requests that bring their own jar draw from separate handles, so a handle never
// carries the cookie engine from one kind to the other.
class HandleLease {
public:
    explicit HandleLease(bool cookieStore);
    ~HandleLease();
    HandleLease(const HandleLease&) = delete;
    HandleLease& operator=(const HandleLease&) = delete;

    CURL* handle() const { return handle_; }

private:
    bool cookieStore_;
    CURL* handle_;
};

}  // namespace korvel
