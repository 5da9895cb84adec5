#pragma once

// The one request operation through which Korvel talks to any web server.

#include <optional>
#include <string>

#include "text/Text.h"

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
};

// method 1 sends "POST"; any other value "GET". A body goes out whenever method is not 0.
// Returns the response body, empty on any failure.
Bytes HttpRequest(const std::string& url, int method = 0, HttpOptions options = {});

}  // namespace korvel
