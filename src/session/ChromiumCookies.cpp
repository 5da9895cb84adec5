#include <filesystem>

#include "session/BrowserCookies.h"
#include "session/BrowserProfiles.h"
#include "session/ChromiumCrypt.h"
#include "session/CookieDatabase.h"
#include "session/Keyring.h"

namespace korvel {
namespace {

// Microseconds since 1601 in the database, seconds since 1970 in a cookies.txt file.
constexpr std::int64_t EpochGapSeconds = 11644473600;
// From this database version on, a value begins with the SHA-256 digest of its host.
constexpr int DigestPrefixVersion = 24;
constexpr size_t DigestBytes = 32;

struct SealedCookie {
    Cookie cookie;
    std::string sealed;  // encrypted_value, when the plain value is empty
};

std::string DatabasePath(const std::string& folder)
{
    std::error_code ec;
    for (const char* name : {"/Network/Cookies", "/Cookies"}) {
        if (std::filesystem::exists(folder + name, ec))
            return folder + name;
    }
    return {};
}

int MetaVersion(CookieDatabase& db)
{
    int version = 0;
    (void)db.select("SELECT value FROM meta WHERE key = 'version'", [&](sqlite3_stmt* row) {
        version = std::atoi(CookieDatabase::Text(row, 0).value_or("0").c_str());
    });
    return version;
}

// Older databases name two columns without their "is_".
bool ReadRows(CookieDatabase& db, std::vector<SealedCookie>& rows)
{
    const auto take = [&](sqlite3_stmt* row) {
        SealedCookie s;
        Cookie& c = s.cookie;
        c.domain = CookieDatabase::Text(row, 0).value_or("");
        c.includeSubdomains = c.domain.starts_with('.');
        c.path = CookieDatabase::Text(row, 1).value_or("/");
        c.secure = sqlite3_column_int(row, 2) != 0;
        const std::int64_t expires = sqlite3_column_int64(row, 3);
        c.expires = expires == 0 ? 0 : std::max<std::int64_t>(1, expires / 1000000 - EpochGapSeconds);
        c.name = CookieDatabase::Text(row, 4).value_or("");
        c.value = CookieDatabase::Text(row, 5).value_or("");
        s.sealed = CookieDatabase::Text(row, 6).value_or("");
        c.httpOnly = sqlite3_column_int(row, 7) != 0;
        rows.push_back(std::move(s));
    };
    return db.select("SELECT host_key, path, is_secure, expires_utc, name, value, encrypted_value, is_httponly "
                     "FROM cookies", take) ||
           db.select("SELECT host_key, path, secure, expires_utc, name, value, encrypted_value, httponly "
                     "FROM cookies", take);
}

// The keys a value may be sealed with, asked for only when a "v11" value needs them.
class Keys {
public:
    explicit Keys(Browser browser) : browser_(browser) {}
    std::optional<std::string> open(std::string_view sealed)
    {
        const std::string_view prefix = sealed.substr(0, 3);
        sealed.remove_prefix(std::min<size_t>(3, sealed.size()));
        if (prefix == "v10")
            return OpenChromiumValue(sealed, ChromiumBasicKey());
        if (prefix != "v11")
            return std::nullopt;
        if (!keyring_) {
            keyring_ = ChromiumKeyringPassword(browser_);
            keyringKey_ = ChromiumKey(keyring_->password.value_or(""));
        }
        // Chromium falls back to an empty password when the keyring gave it none.
        if (auto plain = OpenChromiumValue(sealed, keyringKey_))
            return plain;
        return OpenChromiumValue(sealed, ChromiumKey(""));
    }
    // Why v11 values stay shut: the keyring's reason, when it was asked.
    std::optional<std::string> keyringReason() const
    {
        if (!keyring_ || keyring_->password)
            return std::nullopt;
        return keyring_->reason;
    }

private:
    Browser browser_;
    std::optional<KeyringPassword> keyring_;
    std::string keyringKey_;
};

}  // namespace

ImportResult ReadChromiumCookies(Browser browser, const std::string& profile)
{
    const ProfileFolder place = ChromiumProfile(browser, profile);
    if (place.folder.empty())
        return {{}, ImportFailure::ProfileNotFound, place.lookedAt, 0};
    const std::string path = DatabasePath(place.folder);
    if (path.empty())
        return {{}, ImportFailure::NoDatabase, place.folder, 0};
    CookieDatabase db(path);
    std::vector<SealedCookie> rows;
    if (!db.opened() || !ReadRows(db, rows))
        return {{}, ImportFailure::DatabaseUnusable, db.error(), 0};
    const bool digestFirst = MetaVersion(db) >= DigestPrefixVersion;

    ImportResult result;
    Keys keys(browser);
    const std::int64_t now = UnixNow();
    for (SealedCookie& row : rows) {
        if (!IsMarketplaceDomain(row.cookie.domain) || IsExpired(row.cookie, now))
            continue;
        if (row.cookie.value.empty() && !row.sealed.empty()) {
            std::optional<std::string> plain = keys.open(row.sealed);
            if (!plain || (digestFirst && plain->size() < DigestBytes)) {
                ++result.undecrypted;
                continue;
            }
            row.cookie.value = digestFirst ? plain->substr(DigestBytes) : *plain;
        }
        result.cookies.push_back(std::move(row.cookie));
    }
    result.cookies = KeptCookies(std::move(result.cookies), now);
    if (result.undecrypted > 0) {
        const std::optional<std::string> reason = keys.keyringReason();
        result.failure = reason ? ImportFailure::Keyring : ImportFailure::CannotDecrypt;
        result.detail = reason.value_or("");
        result.cookies.clear();
    }
    return result;
}

}  // namespace korvel
