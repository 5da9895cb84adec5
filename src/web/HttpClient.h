#pragma once

// One exchange over libcurl: the request exactly as Send has decided it, the final
// response's body and header block back. No decisions about the operation's own logic live here.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/Text.h"
#include "base/Cancellation.h"
#include "web/CookieSession.h"
#include "web/HttpOutcome.h"

namespace korvel {

struct Exchange {
    bool secure = false;
    std::string host;  // lower case, without port
    int port = 80;
    std::string path;   // path and query, beginning with "/"
    bool post = false;  // the verb: "POST", else "GET"
    bool sendBody = false;
    Bytes body;
    std::string userAgent;
    std::vector<std::string> headerLines;
    std::optional<std::string> proxy;  // host:port; used for plain HTTP only
    bool noRedirect = false;
    bool cookieStore = true;  // false: the client neither sends stored cookies nor stores new ones
    CookieSession* session = nullptr;  // given: its cookies instead of the client's store
    Cancellation* cancel = nullptr;
    bool sendOnce = false;  // the body never goes out twice, not even on a fresh connection
    bool recentConnectionsOnly = false;  // no connection idle for a second or more is reused
    // Asked before the client follows a redirect to this Location; false ends the exchange.
    std::function<bool(std::string_view location)> followAllowed;
};

struct [[nodiscard]] Reply {
    bool opened = true;      // false: no request could be begun (no handle, an unusable address)
    Bytes body;              // on a failure, what arrived before it (nothing past the size limit)
    std::string rawHeaders;  // the final response's block, CR LF line ends, status line first
    HttpOutcome outcome;
};

Reply PerformExchange(const Exchange& exchange);

// The address the client is given: the path's bytes the client would refuse (spaces and control
// bytes) are written as %XX; everything else goes as it stands.
std::string ClientAddress(const Exchange& exchange);

// The request line's target when the client would not send the path as it stands (it holds a
// "#", which the client would take for the start of a fragment); empty otherwise.
std::string ExactTarget(const Exchange& exchange);

}  // namespace korvel
