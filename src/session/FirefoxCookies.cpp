#include <filesystem>

#include "session/BrowserCookies.h"
#include "session/BrowserProfiles.h"
#include "session/CookieDatabase.h"

namespace korvel {
namespace {

// Firefox keeps expiry times in seconds, newer versions in milliseconds; no cookie lives until
// the year 5138, so a figure that large is milliseconds.
std::int64_t ExpirySeconds(std::int64_t expiry)
{
    return expiry > 100'000'000'000 ? expiry / 1000 : expiry;
}

}  // namespace

ImportResult ReadFirefoxCookies(const std::string& profile)
{
    const ProfileFolder place = FirefoxProfile(profile);
    if (place.folder.empty())
        return {{}, ImportFailure::ProfileNotFound, place.lookedAt, 0};
    const std::string path = place.folder + "/cookies.sqlite";
    std::error_code ec;
    if (!std::filesystem::exists(path, ec))
        return {{}, ImportFailure::NoDatabase, place.folder, 0};
    CookieDatabase db(path);
    std::vector<Cookie> cookies;
    const bool read = db.opened() && db.select(
        "SELECT host, path, isSecure, expiry, name, value, isHttpOnly FROM moz_cookies", [&](sqlite3_stmt* row) {
            Cookie c;
            c.domain = CookieDatabase::Text(row, 0).value_or("");
            c.includeSubdomains = c.domain.starts_with('.');
            c.path = CookieDatabase::Text(row, 1).value_or("/");
            c.secure = sqlite3_column_int(row, 2) != 0;
            c.expires = ExpirySeconds(sqlite3_column_int64(row, 3));
            c.name = CookieDatabase::Text(row, 4).value_or("");
            c.value = CookieDatabase::Text(row, 5).value_or("");
            c.httpOnly = sqlite3_column_int(row, 6) != 0;
            cookies.push_back(std::move(c));
        });
    if (!read)
        return {{}, ImportFailure::DatabaseUnusable, db.error(), 0};
    return {KeptCookies(std::move(cookies), UnixNow()), ImportFailure::None, {}, 0};
}

}  // namespace korvel
