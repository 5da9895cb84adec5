#pragma once

// The one request operation through which Korvel talks to any web server, in its own shape: in and
// out variables over the typed call of web/HttpCall.h.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "text/Text.h"
#include "base/Cancellation.h"
#include "web/CookieSession.h"
#include "web/HttpOutcome.h"

namespace korvel {

// The optional arguments, in the order the operation takes them. A null pointer means "not
// given": for cookieJar that keeps the client's own cookie store in use.
struct HttpOptions {
    std::string postText{};                  // body when postBytes is empty
    std::string* cookieJar = nullptr;        // in/out
    std::string* returnedCookies = nullptr;  // out
    std::string extraHeaders{};              // header lines separated by CR LF
    std::string* location = nullptr;         // in/out
    bool noRedirect = false;
    Bytes postBytes{};                   // takes precedence over postText
    std::optional<std::string> proxy{};  // host:port, for plain-HTTP requests
    std::string* rawHeaders = nullptr;   // out

    // Korvel's own, beyond the operation's arguments.
    Cancellation* cancel = nullptr;  // cancelling it ends the request at once
    HttpOutcome* outcome = nullptr;  // out: how the (last) request ended
    // The body never goes out twice: where the client would resend it by itself (a reused
    // connection that dropped before any reply), the request fails with HttpFailure::NotResent.
    bool sendOnce = false;
    // A kept connection that has sat idle for a second or more is not reused: the server may be
    // closing it at that very moment, and a body sent once could then not be sent at all.
    bool recentConnectionsOnly = false;
    // Asked before the client follows a redirect; a refused one ends the request with
    // HttpFailure::RedirectRefused.
    std::function<bool(std::string_view location)> followAllowed{};
    // A kept session's cookies instead of the client's own store; ignored when cookieJar is given.
    CookieSession* session = nullptr;
};

// method 1 sends "POST"; any other value "GET". A body goes out whenever method is not 0.
// Returns the response body: on a failure, what had arrived before it (empty when nothing had).
Bytes HttpRequest(const std::string& url, int method = 0, HttpOptions options = {});

}  // namespace korvel
