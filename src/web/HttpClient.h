#pragma once

// One exchange over libcurl: the request exactly as HttpRequest has decided it, the final
// response's body and header block back. No decisions about the operation's own logic live here.

#include <optional>
#include <string>
#include <vector>

#include "text/Text.h"

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
};

struct Reply {
    bool opened = true;      // false: no request could be begun (no handle, an unusable address)
    bool completed = false;  // false on any failure, the body then empty
    Bytes body;
    std::string rawHeaders;  // the final response's block, CR LF line ends, status line first
};

Reply PerformExchange(const Exchange& exchange);

// The address the client is given: the path's bytes the client would refuse (spaces and control
// bytes) are written as %XX; everything else goes as it stands.
std::string ClientAddress(const Exchange& exchange);

}  // namespace korvel
