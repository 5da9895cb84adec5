#pragma once

// One browser cookie as the Netscape cookies.txt format holds it, and the rules of which cookies
// Korvel keeps: the marketplace's alone, never an expired one.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

struct Cookie {
    std::string domain;  // host name; a leading "." marks a cookie for the subdomains too
    bool includeSubdomains = false;
    std::string path = "/";
    bool secure = false;
    std::int64_t expires = 0;  // Unix seconds; 0 = a session cookie, which the sign-in sets
    std::string name;
    std::string value;
    bool httpOnly = false;
    bool operator==(const Cookie&) const = default;
};

// taobao.com, tmall.com and their subdomains; nothing that merely ends in those letters.
bool IsMarketplaceDomain(std::string_view domain);

bool IsExpired(const Cookie& cookie, std::int64_t now);

// Domain, path and name: what makes two cookies the same one.
bool SameCookie(const Cookie& a, const Cookie& b);

// Seconds since the Unix epoch, now.
std::int64_t UnixNow();

// The marketplace's cookies that have not expired, in their order.
std::vector<Cookie> KeptCookies(std::vector<Cookie> cookies, std::int64_t now);

// `into` with `added` laid over it: an added cookie replaces the one of the same domain, path and
// name, the rest are appended.
void AddCookies(std::vector<Cookie>& into, const std::vector<Cookie>& added);

}  // namespace korvel
