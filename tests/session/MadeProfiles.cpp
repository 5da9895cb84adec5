#include "MadeProfiles.h"

#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/sha.h>
#include <sqlite3.h>

#include <filesystem>

namespace korvel::test {
namespace {

void Run(sqlite3* db, const std::string& sql)
{
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "") << sql;
}

// Bound parameters, texts and blobs alike.
void Insert(sqlite3* db, const std::string& sql, const std::vector<std::string>& blobs)
{
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    for (size_t i = 0; i < blobs.size(); ++i)
        sqlite3_bind_blob(statement, static_cast<int>(i + 1), blobs[i].data(), static_cast<int>(blobs[i].size()),
                          SQLITE_TRANSIENT);
    EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE) << sqlite3_errmsg(db);
    sqlite3_finalize(statement);
}

sqlite3* Create(const std::string& path)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    return db;
}

// AES-128-CBC as Chromium seals, straight from OpenSSL.
std::string Seal(const std::string& plain, const std::string& password)
{
    unsigned char key[16];
    PKCS5_PBKDF2_HMAC_SHA1(password.data(), static_cast<int>(password.size()),
                           reinterpret_cast<const unsigned char*>("saltysalt"), 9, 1, 16, key);
    const unsigned char iv[16] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    EVP_EncryptInit_ex(context, EVP_aes_128_cbc(), nullptr, key, iv);
    std::string sealed(plain.size() + 16, '\0');
    int written = 0, last = 0;
    auto* out = reinterpret_cast<unsigned char*>(sealed.data());
    EVP_EncryptUpdate(context, out, &written, reinterpret_cast<const unsigned char*>(plain.data()),
                      static_cast<int>(plain.size()));
    EVP_EncryptFinal_ex(context, out + written, &last);
    EVP_CIPHER_CTX_free(context);
    sealed.resize(static_cast<size_t>(written + last));
    return sealed;
}

std::string Digest(const std::string& host)
{
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(host.data()), host.size(), digest);
    return std::string(reinterpret_cast<const char*>(digest), sizeof digest);
}

}  // namespace

void MakeFirefoxProfile(const std::string& folder, const std::vector<Cookie>& cookies, bool millisecondExpiry)
{
    sqlite3* db = Create(folder + "/cookies.sqlite");
    Run(db, "PRAGMA journal_mode=WAL");
    Run(db, "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', "
            "name TEXT, value TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, "
            "creationTime INTEGER, isSecure INTEGER, isHttpOnly INTEGER, inBrowserElement INTEGER DEFAULT 0, "
            "sameSite INTEGER DEFAULT 0, rawSameSite INTEGER DEFAULT 0, schemeMap INTEGER DEFAULT 0)");
    for (const Cookie& c : cookies) {
        const std::int64_t expiry = millisecondExpiry ? c.expires * 1000 : c.expires;
        Insert(db, "INSERT INTO moz_cookies (name, value, host, path, expiry, isSecure, isHttpOnly) VALUES "
                   "(CAST(?1 AS TEXT), CAST(?2 AS TEXT), CAST(?3 AS TEXT), CAST(?4 AS TEXT), " +
                       std::to_string(expiry) + ", " + (c.secure ? "1" : "0") + ", " + (c.httpOnly ? "1" : "0") + ")",
               {c.name, c.value, c.domain, c.path});
    }
    sqlite3_close(db);
}

void MakeChromiumProfile(const std::string& folder, const std::vector<Cookie>& cookies, const ChromiumSealing& s)
{
    sqlite3* db = Create(folder + (s.older ? "/Cookies" : "/Network/Cookies"));
    Run(db, "CREATE TABLE meta (key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR)");
    Run(db, "INSERT INTO meta VALUES ('version', '" + std::to_string(s.version) + "')");
    Run(db, std::string("CREATE TABLE cookies (creation_utc INTEGER NOT NULL DEFAULT 0, host_key TEXT NOT NULL, "
                        "name TEXT NOT NULL, value TEXT NOT NULL, encrypted_value BLOB NOT NULL, path TEXT NOT NULL, "
                        "expires_utc INTEGER NOT NULL, ") +
                (s.older ? "secure INTEGER NOT NULL, httponly INTEGER NOT NULL, "
                         : "is_secure INTEGER NOT NULL, is_httponly INTEGER NOT NULL, ") +
                "has_expires INTEGER NOT NULL DEFAULT 1)");
    for (const Cookie& c : cookies) {
        const std::string plain = (s.version >= 24 ? Digest(c.domain) : std::string()) + c.value;
        const std::int64_t expires = c.expires == 0 ? 0 : (c.expires + 11644473600) * 1000000;
        Insert(db, "INSERT INTO cookies (host_key, name, value, encrypted_value, path, expires_utc, " +
                       std::string(s.older ? "secure, httponly" : "is_secure, is_httponly") +
                       ") VALUES (CAST(?1 AS TEXT), CAST(?2 AS TEXT), '', ?3, CAST(?4 AS TEXT), " +
                       std::to_string(expires) + ", " + (c.secure ? "1" : "0") + ", " + (c.httpOnly ? "1" : "0") + ")",
               {c.domain, c.name, s.prefix + Seal(plain, s.password), c.path});
    }
    sqlite3_close(db);
}

}  // namespace korvel::test
