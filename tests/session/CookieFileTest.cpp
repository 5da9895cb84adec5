// The session's file: which cookies it keeps, the cookies.txt lines it reads, its modes.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "session/CookieStore.h"
#include "session/CookiesTxt.h"
#include "support/ThrowawayTls.h"

namespace korvel::test {
namespace {

namespace fs = std::filesystem;

Cookie Named(const std::string& domain, const std::string& name, std::int64_t expires = 0)
{
    Cookie c;
    c.domain = domain;
    c.includeSubdomains = domain.starts_with('.');
    c.name = name;
    c.value = "v-" + name;
    c.expires = expires;
    return c;
}

unsigned Mode(const std::string& path)
{
    struct stat info {};
    ::stat(path.c_str(), &info);
    return info.st_mode & 0777;
}

TEST(CookieFile, KeepsTheMarketplacesUnexpiredCookiesOnly)
{
    const std::int64_t now = UnixNow();
    const struct {
        Cookie cookie;
        bool kept;
    } cases[] = {
        {Named(".taobao.com", "a"), true},
        {Named("taobao.com", "b"), true},
        {Named("shop123.TMALL.com", "c"), true},
        {Named(".login.tmall.com", "d", now + 3600), true},
        {Named("nottaobao.com", "e"), false},
        {Named("taobao.com.example.org", "f"), false},
        {Named(".example.com", "g"), false},
        {Named(".taobao.com", "expired", now - 1), false},
        {Named(".taobao.com", ""), false},
        {Named(".taobao.com", "tab\tin-name"), false},
    };
    for (const auto& c : cases) {
        const std::vector<Cookie> kept = KeptCookies({c.cookie}, now);
        EXPECT_EQ(kept.size(), c.kept ? 1u : 0u) << c.cookie.domain << " " << c.cookie.name;
    }
}

TEST(CookieFile, ReadsTheLinesCurlAndTheExtensionsWrite)
{
    const std::string text =
        "# Netscape HTTP Cookie File\r\n"
        "#HttpOnly_.taobao.com\tTRUE\t/\tTRUE\t0\tcookie2\tsecret\r\n"
        "shop.tmall.com\tFALSE\t/i\tFALSE\t4102444800\t_tb_token_\tx=y\n"
        ".taobao.com\tTRUE\t/\tFALSE\t0\tempty\n"
        "# a comment\tTRUE\t/\tFALSE\t0\tno\tno\n"
        ".taobao.com\tTRUE\t/\tFALSE\tsoon\tbad\texpiry\n"
        "too\tfew\tfields\n";
    const std::vector<Cookie> cookies = ParseCookiesTxt(text);
    ASSERT_EQ(cookies.size(), 3u);
    EXPECT_TRUE(cookies[0].httpOnly);
    EXPECT_EQ(cookies[0].domain, ".taobao.com");
    EXPECT_TRUE(cookies[0].secure);
    EXPECT_EQ(cookies[0].value, "secret");
    EXPECT_EQ(cookies[1].path, "/i");
    EXPECT_FALSE(cookies[1].includeSubdomains);
    EXPECT_EQ(cookies[1].expires, 4102444800);
    EXPECT_EQ(cookies[1].value, "x=y");
    EXPECT_EQ(cookies[2].value, "");
    EXPECT_EQ(ParseCookiesTxt(CookiesTxt(cookies)), cookies);
}

TEST(CookieFile, ReplacesTheSameDomainPathAndName)
{
    std::vector<Cookie> kept = {Named(".taobao.com", "a"), Named(".tmall.com", "a")};
    Cookie newer = Named(".TAOBAO.com", "a");
    newer.value = "new";
    Cookie otherPath = Named(".taobao.com", "a");
    otherPath.path = "/x";
    AddCookies(kept, {newer, otherPath});
    ASSERT_EQ(kept.size(), 3u);
    EXPECT_EQ(kept[0].value, "new");
    EXPECT_EQ(kept[1].domain, ".tmall.com");
    EXPECT_EQ(kept[2].path, "/x");
}

TEST(CookieFile, IsReadableByItsOwnerAloneAndReplacedWhole)
{
    const std::string dir = tools::MakeTempDir("korvel-session-store");
    const std::string path = dir + "/data/korvel/cookies.txt";
    const std::int64_t now = UnixNow();
    ASSERT_TRUE(SaveStore(path, {Named(".taobao.com", "a"), Named(".example.com", "b"),
                                 Named(".tmall.com", "old", now - 10)})
                    .ok());
    EXPECT_EQ(Mode(path), 0600u);
    EXPECT_EQ(Mode(dir + "/data/korvel"), 0700u);
    const StoredCookies read = LoadStore(path);
    ASSERT_TRUE(read.result.ok());
    ASSERT_EQ(read.cookies.size(), 1u);
    EXPECT_EQ(read.cookies[0].name, "a");

    ASSERT_TRUE(SaveStore(path, {}).ok());
    EXPECT_EQ(std::distance(fs::directory_iterator(dir + "/data/korvel"), fs::directory_iterator()), 1)
        << "nothing left beside the file";
    ASSERT_TRUE(ClearStore(path).ok());
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(LoadStore(path).result.ok()) << "no file is an empty session";
    fs::remove_all(dir);
}

TEST(CookieFile, SaysWhereItCannotBeWritten)
{
    const std::string dir = tools::MakeTempDir("korvel-session-store");
    std::ofstream(dir + "/plain") << "a file where the folder should be";
    const SessionFileResult saved = SaveStore(dir + "/plain/korvel/cookies.txt", {Named(".taobao.com", "a")});
    EXPECT_EQ(saved.failure, SessionFileFailure::CannotCreateFolder);
    EXPECT_EQ(saved.path, dir + "/plain/korvel");
    fs::remove_all(dir);
}

}  // namespace
}  // namespace korvel::test
