// Where a session's cookies go: to the marketplace's hosts alone, never to a host a redirect
// leads to, never into a request that carries no session. What the shops set is kept.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>

#include "session/CookiesTxt.h"
#include "session/KeptSession.h"
#include "support/LocalServer.h"
#include "web/HttpCall.h"
#include "web/HttpSettings.h"

namespace korvel::test {
namespace {

namespace fs = std::filesystem;

// Records the Cookie header of every request it answers.
class CookieWitness {
public:
    explicit CookieWitness(LocalServer& server)
    {
        server.http().Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
            std::lock_guard lock(mutex_);
            seen_.push_back(request.get_header_value("Cookie"));
            if (request.path == "/elsewhere")
                response.set_redirect("http://other.example.org/landing");
            if (request.path == "/set")
                response.set_header("Set-Cookie", "fresh=1; Domain=.taobao.com; Path=/");
            if (request.path == "/landing")
                response.set_header("Set-Cookie", "foreign=1; Path=/");
            response.set_content("ok", "text/plain");
        });
        server.start();
    }
    std::vector<std::string> seen() const
    {
        std::lock_guard lock(mutex_);
        return seen_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> seen_;
};

class CookieScope : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetConnectTo(shop.connectTo("shop.taobao.com") + "," + other.connectTo("other.example.org"));
        dir = tools::MakeTempDir("korvel-cookie-scope");
    }
    void TearDown() override
    {
        ResetHttpSettings();
        CloseIdleConnections();
        fs::remove_all(dir);
    }
    LocalServer shop;
    LocalServer other;
    CookieWitness shopSeen{shop};
    CookieWitness otherSeen{other};
    std::string dir;
};

Cookie SignedIn()
{
    Cookie c;
    c.domain = ".taobao.com";
    c.includeSubdomains = true;
    c.name = "cookie2";
    c.value = "signed-in";
    return c;
}

TEST_F(CookieScope, GoesToTheMarketplaceAloneAndKeepsWhatItSets)
{
    const std::string store = dir + "/korvel/cookies.txt";
    ASSERT_TRUE(SaveStore(store, {SignedIn()}).ok());
    KeptSession session({SignedIn()}, store, LoadStore(store).session);
    for (const char* path : {"/elsewhere", "/set", "/after"})
        (void)Send({.url = std::string("http://shop.taobao.com") + path, .session = &session});
    (void)Send({.url = "http://shop.taobao.com/no-session"});

    ASSERT_EQ(shopSeen.seen().size(), 4u);
    EXPECT_EQ(shopSeen.seen()[0], "cookie2=signed-in");
    EXPECT_THAT(shopSeen.seen()[2], testing::AllOf(testing::HasSubstr("cookie2=signed-in"), testing::HasSubstr("fresh=1")));
    EXPECT_EQ(shopSeen.seen()[3], "") << "a request without the session sends none of it";
    ASSERT_EQ(otherSeen.seen().size(), 1u);
    EXPECT_EQ(otherSeen.seen()[0], "") << "the redirect's host is outside the cookies' domain";

    std::vector<std::string> names;
    for (const Cookie& cookie : LoadStore(store).cookies)
        names.push_back(cookie.name);
    EXPECT_EQ(names, (std::vector<std::string>{"cookie2", "fresh"})) << "the foreign cookie is not kept";
}

}  // namespace
}  // namespace korvel::test
