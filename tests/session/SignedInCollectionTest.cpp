// Collections from a shop that demands sign-in, through korvel-collect: without a session, with a
// cookies.txt file for one run, with a session imported from each browser, and with one that has
// expired.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>

#include "MadeProfiles.h"
#include "demo-shop/DemoShop.h"
#include "demo-shop/SignIn.h"
#include "support/LocalServer.h"

extern char** environ;

namespace korvel::test {
namespace {

namespace fs = std::filesystem;

constexpr char ShopHost[] = "signin.taobao.com";
constexpr char TmallShopHost[] = "signin.tmall.com";

struct Finished {
    int status = -1;
    std::string errors;
};

Cookie DemoSession(const std::string& domain, const std::string& value = demo::SessionCookieValue)
{
    Cookie c;
    c.domain = domain;
    c.includeSubdomains = true;
    c.name = demo::SessionCookieName;
    c.value = value;
    c.secure = true;
    c.httpOnly = true;
    return c;
}

class SignedInCollection : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        demo::DemoShopOptions options;
        options.pages = 2;
        options.itemsPerPage = 5;
        options.requireSignIn = true;
        shop_ = new demo::DemoShop(options);
        ASSERT_TRUE(shop_->start());
    }
    static void TearDownTestSuite()
    {
        delete shop_;
        shop_ = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(shop_);
        home = tools::MakeTempDir("korvel-signed-in");
        store = home + "/data/korvel/cookies.txt";
        shop_->clearRequests();
    }
    void TearDown() override { fs::remove_all(home); }

    // korvel-collect beside this test program, routed to the demo shop, with a home of its own.
    Finished Collect(std::vector<std::string> args) const
    {
        const std::string program = fs::read_symlink("/proc/self/exe").parent_path() / "korvel-collect";
        args.insert(args.begin(), program);
        std::vector<std::string> env = {
            "KORVEL_CONNECT_TO=" + shop_->connectTo(ShopHost) + "," + shop_->connectTo(TmallShopHost),
            "KORVEL_CA_FILE=" + shop_->caFile(), "HOME=" + home, "XDG_DATA_HOME=" + home + "/data",
            "LANG=C.UTF-8"};
        for (char** entry = environ; *entry; ++entry) {
            const std::string_view text(*entry);
            if (!text.starts_with("KORVEL_") && !text.starts_with("HOME=") && !text.starts_with("XDG_") &&
                !text.starts_with("LANG=") && !text.starts_with("LC_"))
                env.emplace_back(text);
        }
        std::vector<char*> argv, envp;
        for (auto& arg : args)
            argv.push_back(arg.data());
        for (auto& entry : env)
            envp.push_back(entry.data());
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string errors = home + "/stderr.txt";
        posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = -1;
        Finished finished;
        int status = 0;
        if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0 &&
            ::waitpid(pid, &status, 0) == pid)
            finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        posix_spawn_file_actions_destroy(&actions);
        finished.errors = ReadFile(errors);
        return finished;
    }

    // The Cookie headers the shop received.
    static std::vector<std::string> CookieHeaders()
    {
        std::vector<std::string> headers;
        for (const auto& request : shop_->requests()) {
            const auto cookie = request.headers.find("Cookie");
            headers.push_back(cookie == request.headers.end() ? "" : cookie->second);
        }
        return headers;
    }

    void ExpectCollected(const Finished& done, const std::string& host = ShopHost) const
    {
        EXPECT_EQ(done.status, 0) << done.errors;
        EXPECT_NE(done.errors.find("本次采集到的商品共有：10件！"), std::string::npos) << done.errors;
        for (const std::string& header : CookieHeaders())
            EXPECT_NE(header.find("cookie2="), std::string::npos) << host;
    }

    static demo::DemoShop* shop_;
    std::string home;
    std::string store;
};

demo::DemoShop* SignedInCollection::shop_ = nullptr;

TEST_F(SignedInCollection, FailsWithTheSignInCauseWithoutASession)
{
    const Finished done = Collect({ShopHost});
    EXPECT_EQ(done.status, 1);
    EXPECT_NE(done.errors.find("淘宝/天猫要求登录或滑块验证"), std::string::npos) << done.errors;
    EXPECT_FALSE(fs::exists(store));
}

TEST_F(SignedInCollection, CarriesACookiesFileForOneRunAndNeverWritesIt)
{
    const std::string file = home + "/exported.txt";
    std::ofstream(file) << "# Netscape HTTP Cookie File\n#HttpOnly_.taobao.com\tTRUE\t/\tTRUE\t0\tcookie2\t"
                        << demo::SessionCookieValue << "\n.tmall.com\tTRUE\t/\tTRUE\t0\tcookie2\t"
                        << demo::SessionCookieValue << "\n.example.com\tTRUE\t/\tFALSE\t0\telsewhere\tx\n";
    const std::string before = ReadFile(file);
    ExpectCollected(Collect({"--cookies", file, ShopHost}));
    for (const std::string& header : CookieHeaders())
        EXPECT_EQ(header.find("elsewhere"), std::string::npos);
    shop_->clearRequests();
    ExpectCollected(Collect({"--cookies=" + file, TmallShopHost}), TmallShopHost);
    EXPECT_EQ(ReadFile(file), before);
    EXPECT_FALSE(fs::exists(store)) << "the kept session is not touched";
    EXPECT_EQ(Collect({"--cookies", home + "/missing.txt", ShopHost}).status, 2);
}

TEST_F(SignedInCollection, ImportsFromEachBrowserIntoTheKeptSession)
{
    const std::vector<Cookie> signedIn = {DemoSession(".taobao.com"), DemoSession(".tmall.com")};
    MakeFirefoxProfile(home + "/firefox-profile", signedIn);
    MakeChromiumProfile(home + "/.config/chromium/Default", signedIn);
    for (const std::string& source : {"firefox:" + home + "/firefox-profile", std::string("chromium")}) {
        SCOPED_TRACE(source);
        fs::remove(store);
        const Finished imported = Collect({"--import-cookies", source});
        ASSERT_EQ(imported.status, 0) << imported.errors;
        EXPECT_EQ(imported.errors.find(demo::SessionCookieValue), std::string::npos) << "no value is shown";
        struct stat info {};
        ASSERT_EQ(::stat(store.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        shop_->clearRequests();
        ExpectCollected(Collect({ShopHost}));
    }
    const Finished nothing = Collect({"--import-cookies", "firefox:" + home + "/nowhere"});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_NE(nothing.errors.find("no Firefox profile at"), std::string::npos) << nothing.errors;
}

TEST_F(SignedInCollection, SaysTheSignInHasExpiredWhenTheShopAsksAgain)
{
    fs::create_directories(home + "/data/korvel");
    std::ofstream(store) << ".taobao.com\tTRUE\t/\tTRUE\t0\tcookie2\tsigned-out-long-ago\n";
    const Finished done = Collect({ShopHost});
    EXPECT_EQ(done.status, 1);
    EXPECT_NE(done.errors.find("登录状态已失效，请重新登录"), std::string::npos) << done.errors;
    EXPECT_EQ(done.errors.find("signed-out-long-ago"), std::string::npos);

    // Signed in for page 1, asked again on page 2: the run fails all the same.
    std::ofstream(store) << ".taobao.com\tTRUE\t/\tTRUE\t0\tcookie2\t" << demo::SessionCookieValue << "\n";
    demo::DemoShopOptions midway = shop_->options();
    midway.faults = {{2, demo::PageFault::LoginRedirect}};
    shop_->setOptions(midway);
    const Finished page2 = Collect({ShopHost, "--retries", "0"});
    midway.faults.clear();
    shop_->setOptions(midway);
    EXPECT_EQ(page2.status, 1);
    EXPECT_NE(page2.errors.find("登录状态已失效，请重新登录"), std::string::npos) << page2.errors;
}

}  // namespace
}  // namespace korvel::test
