#include "session/Cookie.h"

#include <algorithm>
#include <chrono>

namespace korvel {
namespace {

// Letters, digits and inner hyphens in labels of 1 to 63 characters: what a host name may hold.
// Anything else (a NUL, a space, a control) could only come from a forged cookie or database.
bool IsDnsName(std::string_view host)
{
    if (host.empty() || host.size() > 253)
        return false;
    size_t label = 0;
    char previous = '.';
    for (const char c : host) {
        const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (c == '.') {
            if (label == 0 || previous == '-')
                return false;
            label = 0;
        } else if (letterOrDigit || (c == '-' && label > 0)) {
            if (++label > 63)
                return false;
        } else {
            return false;
        }
        previous = c;
    }
    return label > 0 && previous != '-';
}

bool IsDomainOrBelow(std::string_view host, std::string_view domain)
{
    return host == domain || (host.ends_with(domain) && host[host.size() - domain.size() - 1] == '.');
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : static_cast<char>(c); });
    return lower;
}

// A tab or a line break would split the cookie's line in the file: such a cookie is not one a
// server can have set, and is not kept.
bool Writable(const Cookie& c)
{
    for (const std::string* field : {&c.domain, &c.path, &c.name, &c.value}) {
        if (field->find_first_of("\t\r\n") != std::string::npos)
            return false;
    }
    return true;
}

}  // namespace

bool SameCookie(const Cookie& a, const Cookie& b)
{
    return Lower(a.domain) == Lower(b.domain) && a.path == b.path && a.name == b.name;
}

bool IsMarketplaceDomain(std::string_view domain)
{
    if (domain.starts_with('.'))
        domain.remove_prefix(1);
    const std::string host = Lower(domain);
    if (!IsDnsName(host))
        return false;
    return IsDomainOrBelow(host, "taobao.com") || IsDomainOrBelow(host, "tmall.com");
}

bool IsExpired(const Cookie& cookie, std::int64_t now)
{
    return cookie.expires != 0 && cookie.expires <= now;
}

std::int64_t UnixNow()
{
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::vector<Cookie> KeptCookies(std::vector<Cookie> cookies, std::int64_t now)
{
    std::erase_if(cookies, [now](const Cookie& c) {
        return !IsMarketplaceDomain(c.domain) || IsExpired(c, now) || c.name.empty() || !Writable(c);
    });
    return cookies;
}

void AddCookies(std::vector<Cookie>& into, const std::vector<Cookie>& added)
{
    for (const Cookie& cookie : added) {
        const auto same = std::find_if(into.begin(), into.end(), [&](const Cookie& c) { return SameCookie(c, cookie); });
        if (same != into.end())
            *same = cookie;
        else
            into.push_back(cookie);
    }
}

}  // namespace korvel
