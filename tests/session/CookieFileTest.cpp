// The session's file: which cookies it keeps, the cookies.txt lines it reads, its modes.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "session/CookieStore.h"
#include "session/CookiesTxt.h"
#include "session/KeptSession.h"
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
        // Only a DNS name is a domain, whatever it ends in.
        {Named(std::string("a\0b.taobao.com", 14), "nul"), false},
        {Named("a b.taobao.com", "space"), false},
        {Named("..taobao.com", "empty_label"), false},
        {Named("-x.taobao.com", "hyphen"), false},
        {Named("\xE5\xBA\x97.taobao.com", "utf8"), false},
        {Named("a_b.taobao.com", "underscore"), false},
        {Named(std::string(64, 'a') + ".taobao.com", "long_label"), false},
        {Named("x-1.shop-2.taobao.com", "hyphens"), true},
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
    EXPECT_EQ(std::distance(fs::directory_iterator(dir + "/data/korvel"), fs::directory_iterator()), 2)
        << "nothing left beside the file and its lock";
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

std::vector<std::string> Names(const std::string& path)
{
    std::vector<std::string> names;
    for (const Cookie& c : LoadStore(path).cookies)
        names.push_back(c.name);
    std::sort(names.begin(), names.end());
    return names;
}

// Each run writes back only what its responses changed, over what the file holds by then: another
// run's changes, an import and a sign-in stay; a sign-out made during the run wins over it.
TEST(CookieFile, RunsMergeTheirChangesAndASignOutWins)
{
    const std::string dir = tools::MakeTempDir("korvel-session-store");
    const std::string path = dir + "/korvel/cookies.txt";
    ASSERT_TRUE(SaveStore(path, {Named(".taobao.com", "a")}).ok());
    const auto first = KeptSessionFromStore(path);
    const auto second = KeptSessionFromStore(path);
    ASSERT_TRUE(first && second);
    first->keep(CookiesTxt({Named(".taobao.com", "a"), Named(".taobao.com", "x")}));
    second->keep(CookiesTxt({Named(".tmall.com", "y")}));  // a dropped by this run's response
    EXPECT_EQ(Names(path), (std::vector<std::string>{"x", "y"}));
    ASSERT_TRUE(AddToStore(path, {Named(".tmall.com", "imported")}).ok());
    first->keep(CookiesTxt({Named(".taobao.com", "a"), Named(".taobao.com", "x"), Named(".taobao.com", "x2")}));
    EXPECT_EQ(Names(path), (std::vector<std::string>{"imported", "x", "x2", "y"}));

    ASSERT_TRUE(ClearStore(path).ok());
    first->keep(CookiesTxt({Named(".taobao.com", "x3")}));
    EXPECT_FALSE(fs::exists(path)) << "signed out during the run";
    ASSERT_TRUE(AddToStore(path, {Named(".taobao.com", "fresh")}).ok());
    first->keep(CookiesTxt({Named(".taobao.com", "x4")}));
    second->keep(CookiesTxt({Named(".tmall.com", "y2")}));
    EXPECT_EQ(Names(path), std::vector<std::string>{"fresh"}) << "the new sign-in is not the runs' session";
    EXPECT_FALSE(first->saveFailure());
    fs::remove_all(dir);
}

TEST(CookieFile, TwoProcessesLoseNoChange)
{
    const std::string dir = tools::MakeTempDir("korvel-session-store");
    const std::string path = dir + "/korvel/cookies.txt";
    ASSERT_TRUE(SaveStore(path, {Named(".taobao.com", "a")}).ok());
    constexpr int Changes = 40;
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = ::fork();
        if (children[child] == 0) {
            // Each run's jar holds what it read at its start and what its responses set since.
            const auto session = KeptSessionFromStore(path);
            std::vector<Cookie> cookies = session ? session->cookies() : std::vector<Cookie>{};
            for (int i = 0; session && i < Changes; ++i) {
                cookies.push_back(Named(".taobao.com", "p" + std::to_string(child) + "_" + std::to_string(i)));
                session->keep(CookiesTxt(cookies));
            }
            ::_exit(session && !session->saveFailure() ? 0 : 1);
        }
    }
    for (const pid_t child : children) {
        int status = -1;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    EXPECT_EQ(LoadStore(path).cookies.size(), 1u + 2 * Changes);
    fs::remove_all(dir);
}

// A file others could read is made the owner's on the first load, which says so once; a link or
// another user's file is not read at all.
TEST(CookieFile, LoadChecksLinksOwnersAndModes)
{
    const std::string dir = tools::MakeTempDir("korvel-session-store");
    const std::string folder = dir + "/korvel";
    const std::string path = folder + "/cookies.txt";
    ASSERT_TRUE(SaveStore(path, {Named(".taobao.com", "a")}).ok());
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0755), 0);
    const StoredCookies loose = LoadStore(path);
    ASSERT_TRUE(loose.result.ok());
    EXPECT_EQ(loose.cookies.size(), 1u);
    EXPECT_NE(loose.tightened.find("0644"), std::string::npos) << loose.tightened;
    EXPECT_NE(loose.tightened.find("0755"), std::string::npos) << loose.tightened;
    EXPECT_EQ(Mode(path), 0600u);
    EXPECT_EQ(Mode(folder), 0700u);
    EXPECT_EQ(LoadStore(path).tightened, "");

    const std::string elsewhere = dir + "/elsewhere.txt";
    fs::rename(path, elsewhere);
    fs::create_symlink(elsewhere, path);
    const StoredCookies linked = LoadStore(path);
    EXPECT_EQ(linked.result.failure, SessionFileFailure::CannotRead);
    EXPECT_EQ(linked.result.detail, "it is a symbolic link");
    EXPECT_TRUE(linked.cookies.empty());
    fs::remove(path);
    if (::geteuid() == 0) {
        fs::copy_file(elsewhere, path);
        ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
        EXPECT_EQ(LoadStore(path).result.detail, "it belongs to another user");
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace korvel::test
