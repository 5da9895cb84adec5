#pragma once

// The one request operation through which Korvel talks to any web server: a request and its whole
// reply (body, header block, Location, cookies, how it ended) as values.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/Cancellation.h"
#include "text/Text.h"
#include "web/CookieSession.h"
#include "web/HttpOutcome.h"

namespace korvel {

// Every member has an initializer, so that a call can name only the members it sets.
struct HttpCall {
    std::string url{};
    int method = 0;  // 1 sends "POST", any other value "GET"; a body goes out whenever it is not 0
    Bytes body{};
    std::string extraHeaders{};  // header lines separated by CR LF
    // Sent instead of the client's own cookie store; the reply carries it with the new cookies.
    std::optional<std::string> cookieJar{};
    // The kept marketplace session the request carries instead of the client's own cookie store
    // (ignored when a cookie jar is given); none: the client's own store.
    CookieSession* session = nullptr;
    // What the reply's location holds when the response names none and has no header block either.
    std::string location{};
    bool noRedirect = false;
    std::optional<std::string> proxy{};  // host:port, for plain-HTTP requests
    Cancellation* cancel = nullptr;      // cancelling it ends the request at once
    // The body never goes out twice: where the client would resend it by itself (a reused
    // connection that dropped before any reply), the request fails with HttpFailure::NotResent.
    bool sendOnce = false;
    // A kept connection that has sat idle for a second or more is not reused: the server may be
    // closing it at that very moment, and a body sent once could then not be sent at all.
    bool recentConnectionsOnly = false;
    // Asked before the client follows a redirect; a refused one fails with RedirectRefused.
    std::function<bool(std::string_view location)> followAllowed{};
};

struct [[nodiscard]] HttpReply {
    bool sent = false;  // false: no request could be begun; only `outcome` says why
    Bytes body;         // on a failure, what had arrived before it
    std::string rawHeaders;
    std::string location;  // the Location value, or the whole header block when there is none
    std::string returnedCookies;
    std::optional<std::string> cookieJar;  // the call's jar with the returned cookies merged in
    HttpOutcome outcome;                   // how the last request ended
};

// One request, repeated by itself after "301 Moved" (at most MaxRedirects times).
HttpReply Send(HttpCall call);

}  // namespace korvel
