#include "session/CookiesTxt.h"

#include <charconv>

namespace korvel {
namespace {

constexpr std::string_view HttpOnlyPrefix = "#HttpOnly_";

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t tab = line.find('\t'); tab != std::string_view::npos; tab = line.find('\t', start)) {
        fields.push_back(line.substr(start, tab - start));
        start = tab + 1;
    }
    fields.push_back(line.substr(start));
    return fields;
}

bool IsTrue(std::string_view field)
{
    return field == "TRUE" || field == "true";
}

// Six fields when the value is empty: some writers leave out the last tab.
bool ParseLine(std::string_view line, Cookie& cookie)
{
    if (line.starts_with(HttpOnlyPrefix)) {
        cookie.httpOnly = true;
        line.remove_prefix(HttpOnlyPrefix.size());
    } else if (line.empty() || line.starts_with('#')) {
        return false;
    }
    const std::vector<std::string_view> f = Fields(line);
    if (f.size() != 6 && f.size() != 7)
        return false;
    const auto [end, error] = std::from_chars(f[4].data(), f[4].data() + f[4].size(), cookie.expires);
    if (error != std::errc() || end != f[4].data() + f[4].size() || cookie.expires < 0 || f[0].empty())
        return false;
    cookie.domain = f[0];
    cookie.includeSubdomains = IsTrue(f[1]);
    cookie.path = f[2];
    cookie.secure = IsTrue(f[3]);
    cookie.name = f[5];
    cookie.value = f.size() == 7 ? f[6] : std::string_view();
    return true;
}

}  // namespace

std::vector<Cookie> ParseCookiesTxt(std::string_view text)
{
    std::vector<Cookie> cookies;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        Cookie cookie;
        if (ParseLine(line, cookie))
            cookies.push_back(std::move(cookie));
    }
    return cookies;
}

std::string CookieLine(const Cookie& c)
{
    std::string line = c.httpOnly ? std::string(HttpOnlyPrefix) : std::string();
    line += c.domain + '\t' + (c.includeSubdomains ? "TRUE" : "FALSE") + '\t' + c.path + '\t' +
            (c.secure ? "TRUE" : "FALSE") + '\t' + std::to_string(c.expires) + '\t' + c.name + '\t' + c.value;
    return line;
}

std::string CookiesTxt(const std::vector<Cookie>& cookies)
{
    std::string text = "# Netscape HTTP Cookie File\n# Korvel's marketplace session; readable by its owner alone.\n\n";
    for (const Cookie& cookie : cookies)
        text += CookieLine(cookie) + '\n';
    return text;
}

}  // namespace korvel
