// Redirects: the client's own following, and the "301 Moved" repeat Send makes itself.

#include "HttpTestSupport.h"

namespace korvel::test {
namespace {

const std::string Moved = "HTTP/1.1 301 Moved Permanently";

class HttpRedirect : public HttpTest {
protected:
    std::string oldReply = RawHttpServer::Response(Moved, "Location: http://new.taobao.com\r\n", "old body");
    RawHttpServer oldSite{[this](const std::string&) { return oldReply; }};
    RawHttpServer newSite{[](const std::string&) { return Ok("new body"); }};

    void SetUp() override
    {
        HttpTest::SetUp();
        Route({oldSite.connectTo("old.taobao.com"), newSite.connectTo("new.taobao.com")});
    }
};

TEST_F(HttpRedirect, A301IsRepeatedAtTheLocationWithTheOldPath)
{
    const HttpReply reply = Send({.url = "http://old.taobao.com/list?page=2",
                                  .method = 1,
                                  .body = "q=1",
                                  .cookieJar = "a=1",
                                  .noRedirect = true});
    EXPECT_EQ(reply.body, "new body");
    ASSERT_EQ(newSite.requests().size(), 1u);
    const std::string repeat = newSite.requests()[0];
    EXPECT_EQ(RequestLine(repeat), "POST /list?page=2 HTTP/1.1");
    EXPECT_EQ(RequestBody(repeat), "q=1");
    const auto lines = HeaderLinesOf(repeat);
    EXPECT_EQ(lines[0], "Host: new.taobao.com");
    EXPECT_EQ(lines[2], "Referer: http://old.taobao.com/list?page=2");
    EXPECT_EQ(lines[6], "Cookie: a=1");
    EXPECT_EQ(lines[7], "Cookie: a=1");
    EXPECT_EQ(reply.location.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << "the repeat's block, as it has no Location";
}

TEST_F(HttpRedirect, TheClientFollowsA301ItselfUnlessTold)
{
    EXPECT_EQ(GetBody("http://old.taobao.com/list?page=2"), "new body");
    ASSERT_EQ(newSite.requests().size(), 1u);
    EXPECT_EQ(RequestLine(newSite.requests()[0]), "GET / HTTP/1.1");
}

TEST_F(HttpRedirect, A302IsReturnedAsItIsWhenTheClientMayNotFollow)
{
    oldReply = RawHttpServer::Response("HTTP/1.1 302 Moved Temporarily",
                                       "Location: http://new.taobao.com/x\r\n", "stay");
    const HttpReply reply = Send({.url = "http://old.taobao.com/p", .noRedirect = true});
    EXPECT_EQ(reply.body, "stay");
    EXPECT_EQ(reply.location, "http://new.taobao.com/x");
    EXPECT_TRUE(newSite.requests().empty());

    EXPECT_EQ(GetBody("http://old.taobao.com/p"), "new body");
}

// A 301 chain ends after 20 hops, repeated by the operation or followed by the client, as a
// request with too many redirects; the last body is returned.
TEST_F(HttpRedirect, ChainsStopAfterTwentyHopsAsTooManyRedirects)
{
    int hops = 0;
    RawHttpServer loop([&hops](const std::string&) {
        return RawHttpServer::Response(Moved, "Location: http://loop.taobao.com/a\r\n",
                                       "hop " + std::to_string(++hops));
    });
    Route({loop.connectTo("loop.taobao.com")});
    for (const bool clientFollows : {false, true}) {
        hops = 0;
        const size_t before = loop.requests().size();
        const HttpReply reply = Send({.url = "http://loop.taobao.com/a", .noRedirect = !clientFollows});
        EXPECT_EQ(reply.outcome.failure, HttpFailure::TooManyRedirects) << clientFollows;
        EXPECT_EQ(loop.requests().size() - before, 21u);
        if (!clientFollows) {
            EXPECT_EQ(reply.body, "hop 21");
            EXPECT_EQ(reply.rawHeaders.rfind(Moved, 0), 0u);
        }
    }
}

class HttpSchemeRedirect : public HttpRedirect {
protected:
    LocalServer secure{true};

    void SetUp() override
    {
        HttpRedirect::SetUp();
        secure.http().Get("/p", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("secure body", "text/plain");
        });
        secure.http().Get("/down", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("http://new.taobao.com/");
        });
        // A "#" in the address keeps libcurl from following: the 301 is repeated by the operation.
        secure.http().Get(R"(/moved.*)", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("http://new.taobao.com", 301);
        });
        secure.start();
        Route({oldSite.connectTo("old.taobao.com"), newSite.connectTo("new.taobao.com"),
               secure.connectTo("secure.taobao.com")});
    }
};

TEST_F(HttpSchemeRedirect, A301ToASchemeAndHostAloneKeepsTheOldPath)
{
    oldReply = RawHttpServer::Response(Moved, "Location: https://secure.taobao.com\r\n", "old body");
    EXPECT_EQ(Send({.url = "http://old.taobao.com/p", .noRedirect = true}).body, "secure body");
}

TEST_F(HttpSchemeRedirect, APlainRequestMayBeSentOnToHttps)
{
    oldReply = RawHttpServer::Response("HTTP/1.1 302 Found", "Location: https://secure.taobao.com/p\r\n", "");
    EXPECT_EQ(GetBody("http://old.taobao.com/p"), "secure body");
}

TEST_F(HttpSchemeRedirect, ASecureRequestIsNeverSentOnToPlainHttp)
{
    EXPECT_EQ(GetBody("https://secure.taobao.com/down"), "");
    HttpReply moved = Send({.url = "https://secure.taobao.com/moved#top", .cookieJar = std::string("session=1")});
    EXPECT_EQ(moved.body, "");
    EXPECT_NE(moved.outcome.failure, HttpFailure::None);
    EXPECT_TRUE(newSite.requests().empty());
    oldReply = RawHttpServer::Response(Moved, "Location: ftp://new.taobao.com\r\n", "old body");
    HttpReply other = Send({.url = "http://old.taobao.com/p#x", .noRedirect = true});
    EXPECT_EQ(other.body, "");
    EXPECT_NE(other.outcome.failure, HttpFailure::None);
    EXPECT_TRUE(newSite.requests().empty());
    CloseIdleConnections();
}

}  // namespace
}  // namespace korvel::test
