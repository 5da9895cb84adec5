#pragma once

// The Netscape cookies.txt format, as libcurl's cookie engine, curl and the browser extensions
// write it: one cookie a line, seven fields separated by tabs, "#HttpOnly_" before the domain of
// an HttpOnly cookie, other lines starting with "#" comments.

#include <string>
#include <string_view>
#include <vector>

#include "session/Cookie.h"

namespace korvel {

// Every well-formed cookie line, in order; malformed lines are passed over.
std::vector<Cookie> ParseCookiesTxt(std::string_view text);

// One line, without its line end.
std::string CookieLine(const Cookie& cookie);

// A whole file: the format's header comment, then one line per cookie.
std::string CookiesTxt(const std::vector<Cookie>& cookies);

}  // namespace korvel
