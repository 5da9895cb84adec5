// Bringing the session from a browser profile: which profile, which cookies, which values open.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "MadeProfiles.h"
#include "session/ImportSource.h"
#include "support/ThrowawayTls.h"

namespace korvel::test {
namespace {

namespace fs = std::filesystem;

std::vector<Cookie> SignedIn()
{
    Cookie session;
    session.domain = ".taobao.com";
    session.includeSubdomains = true;
    session.name = "cookie2";
    session.value = "signed-in";
    session.secure = true;
    session.httpOnly = true;
    Cookie lasting = session;
    lasting.domain = ".tmall.com";
    lasting.name = "_tb_token_";
    lasting.value = "a longer value than one AES block";
    lasting.expires = 4102444800;  // 2100
    Cookie elsewhere = session;
    elsewhere.domain = ".example.com";
    Cookie expired = lasting;
    expired.name = "gone";
    expired.expires = UnixNow() - 60;
    return {session, lasting, elsewhere, expired};
}

// The two of SignedIn() an import keeps.
void ExpectSignedIn(const ImportResult& result)
{
    ASSERT_EQ(result.failure, ImportFailure::None) << result.detail;
    ASSERT_EQ(result.cookies.size(), 2u);
    EXPECT_EQ(result.cookies[0], SignedIn()[0]);
    EXPECT_EQ(result.cookies[1], SignedIn()[1]);
}

class BrowserImport : public ::testing::Test {
protected:
    void SetUp() override
    {
        home = tools::MakeTempDir("korvel-browser-home");
        setenv("HOME", home.c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
    }
    void TearDown() override { fs::remove_all(home); }
    void Write(const std::string& path, const std::string& text)
    {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path) << text;
    }
    std::string home;
};

TEST_F(BrowserImport, FirefoxFindsTheProfileTheBrowserUses)
{
    const std::string base = home + "/.mozilla/firefox";
    MakeFirefoxProfile(base + "/abc.default-release", SignedIn(), true);
    MakeFirefoxProfile(base + "/old.default", {});
    MakeFirefoxProfile(home + "/elsewhere", SignedIn());
    Write(base + "/profiles.ini",
          "[Profile1]\nName=default\nIsRelative=1\nPath=old.default\nDefault=1\n\n"
          "[Profile0]\nName=default-release\nIsRelative=1\nPath=abc.default-release\n");
    Write(base + "/installs.ini", "[4F96D1932A9F858E]\nDefault=abc.default-release\nLocked=1\n");
    ExpectSignedIn(ReadImportSource(ParseImportSource("firefox")));
    ExpectSignedIn(ReadImportSource(ParseImportSource("firefox:default-release")));
    ExpectSignedIn(ReadImportSource(ParseImportSource("firefox:" + home + "/elsewhere")));
    EXPECT_EQ(ReadImportSource(ParseImportSource("firefox:default")).failure, ImportFailure::NoneFound);

    fs::remove(base + "/installs.ini");
    EXPECT_EQ(ReadImportSource(ParseImportSource("firefox")).failure, ImportFailure::NoneFound)
        << "without installs.ini the profile marked Default=1";
    const ImportResult missing = ReadImportSource(ParseImportSource("firefox:nobody"));
    EXPECT_EQ(missing.failure, ImportFailure::ProfileNotFound);
    EXPECT_EQ(missing.detail, base + "/nobody");
}

TEST_F(BrowserImport, ChromiumOpensValuesSealedWithoutAKeyring)
{
    const struct {
        const char* source;
        std::string folder;
        ChromiumSealing sealing;
    } cases[] = {
        {"chromium", home + "/.config/chromium/Default", {}},
        {"chromium:Profile 1", home + "/.config/chromium/Profile 1", {23, "v10", "peanuts", false}},
        {"chrome", home + "/.config/google-chrome/Default", {18, "v10", "peanuts", true}},
    };
    for (const auto& c : cases) {
        MakeChromiumProfile(c.folder, SignedIn(), c.sealing);
        SCOPED_TRACE(c.source);
        ExpectSignedIn(ReadImportSource(ParseImportSource(c.source)));
    }
}

TEST_F(BrowserImport, ChromiumNamesTheKeyringWhenItsValuesStayShut)
{
    MakeChromiumProfile(home + "/.config/chromium/Default", SignedIn(), {24, "v11", "from the keyring", false});
    const ImportResult keyring = ReadImportSource(ParseImportSource("chromium"));
    EXPECT_EQ(keyring.failure, ImportFailure::Keyring);
    EXPECT_EQ(keyring.undecrypted, 2);
    EXPECT_FALSE(keyring.detail.empty());
    EXPECT_TRUE(keyring.cookies.empty());

    MakeChromiumProfile(home + "/.config/chromium/Other", SignedIn(), {24, "v10", "not peanuts", false});
    EXPECT_EQ(ReadImportSource(ParseImportSource("chromium:Other")).failure, ImportFailure::CannotDecrypt);
    EXPECT_EQ(ReadImportSource(ParseImportSource("chromium:Missing")).failure, ImportFailure::ProfileNotFound);
    fs::create_directories(home + "/.config/chromium/Empty");
    EXPECT_EQ(ReadImportSource(ParseImportSource("chromium:Empty")).failure, ImportFailure::NoDatabase);
}

TEST_F(BrowserImport, AFileIsReadAsCookiesTxt)
{
    Write(home + "/cookies.txt", "#HttpOnly_.taobao.com\tTRUE\t/\tTRUE\t0\tcookie2\tsigned-in\n");
    const ImportResult read = ReadImportSource(ParseImportSource(home + "/cookies.txt"));
    ASSERT_EQ(read.cookies.size(), 1u);
    EXPECT_EQ(ReadImportSource(ParseImportSource(home + "/none.txt")).failure, ImportFailure::FileUnreadable);
}

}  // namespace
}  // namespace korvel::test
