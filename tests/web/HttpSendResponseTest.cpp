// What Send makes of a response: the body, the header block, Location and the cookies.

#include "HttpTestSupport.h"

namespace korvel::test {
namespace {

class HttpResponse : public HttpTest {
protected:
    std::string reply = Ok("");
    RawHttpServer server{[this](const std::string&) { return reply; }};

    void SetUp() override
    {
        HttpTest::SetUp();
        Route({server.connectTo("reply.tmall.com")});
    }
};

TEST_F(HttpResponse, ABodyWithZeroBytesComesBackWhole)
{
    const Bytes body("<a>\0\xB0\xA1\0</a>", 10);
    reply = Ok(body);
    const Bytes got = GetBody("http://reply.tmall.com/z");
    EXPECT_EQ(got, body);
    EXPECT_EQ(BytesToText(got), "<a>");
}

TEST_F(HttpResponse, ALargeBodyArrivesInFull)
{
    std::string body;
    for (int i = 0; body.size() < 3'000'000; ++i)
        body += std::to_string(i) + ",";
    reply = Ok(body);
    EXPECT_EQ(GetBody("http://reply.tmall.com/big"), body);
}

TEST_F(HttpResponse, RawHeadersHoldTheWholeBlockEvenPast5000Bytes)
{
    const std::string longLine = "X-Long: " + std::string(6000, 'v') + "\r\n";
    reply = Ok("b", longLine);
    const HttpReply got = Send({.url = "http://reply.tmall.com/h"});
    EXPECT_EQ(got.rawHeaders, "HTTP/1.1 200 OK\r\n" + longLine + "Content-Length: 1\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(got.location, got.rawHeaders) << "without a Location line, location takes the whole block";
}

TEST_F(HttpResponse, LocationAndCookiesAreReadWithTheirLetterCase)
{
    reply = Ok("b",
               "Set-Cookie: a=1; path=/\r\nlocation: http://lower/\r\nset-cookie: z=9; path=/\r\n"
               "Location: http://reply.tmall.com/next\r\nSet-Cookie: b=2; HttpOnly\r\n");
    const HttpReply got = Send({.url = "http://reply.tmall.com/c"});
    EXPECT_EQ(got.location, "http://reply.tmall.com/next");
    EXPECT_EQ(got.returnedCookies, "a=1; b=2");
}

TEST_F(HttpResponse, AJarIsMergedAndTheReturnedCookiesLoseTheirSpaces)
{
    reply = Ok("", "Set-Cookie: b=3; path=/\r\nSet-Cookie: c=4; path=/\r\n");
    const HttpReply jarred = Send({.url = "http://reply.tmall.com/j", .cookieJar = "a=1; b=2"});
    EXPECT_EQ(jarred.cookieJar, "b=3; c=4; a=1");
    EXPECT_EQ(jarred.returnedCookies, "b=3;c=4");

    const HttpReply without = Send({.url = "http://reply.tmall.com/j"});
    EXPECT_EQ(without.cookieJar, std::nullopt);
    EXPECT_EQ(without.returnedCookies, "b=3; c=4");
}

TEST_F(HttpResponse, ADeletedCookieLeavesTheJar)
{
    reply = Ok("", "Set-Cookie: a=deleted; expires=Thu, 01-Jan-1970 00:00:01 GMT\r\n");
    EXPECT_EQ(Send({.url = "http://reply.tmall.com/d", .cookieJar = "a=1; b=2"}).cookieJar, "b=2");
}

// A marketplace that asks a collector to slow down says for how long.
TEST_F(HttpResponse, RetryAfterIsKeptFromTheFinalResponse)
{
    const std::pair<std::string, std::string> answers[] = {
        {"retry-after:  30 \r\n", "30"},
        {"Retry-After: Mon, 07 Dec 2026 12:00:45 GMT\r\n", "Mon, 07 Dec 2026 12:00:45 GMT"},
        {"X-Retry-After: 5\r\n", ""},
        {"", ""},
    };
    for (const auto& [header, value] : answers) {
        reply = RawHttpServer::Response("HTTP/1.1 429 Too Many Requests", header, "slow down");
        const HttpOutcome outcome = Send({.url = "http://reply.tmall.com/busy"}).outcome;
        EXPECT_EQ(outcome.status, 429);
        EXPECT_EQ(outcome.retryAfter, value) << header;
    }
}

TEST_F(HttpResponse, ErrorStatusesStillReturnTheirBody)
{
    reply = RawHttpServer::Response("HTTP/1.1 404 Not Found", "", "missing");
    EXPECT_EQ(GetBody("http://reply.tmall.com/none"), "missing");
}

// Without a jar the client's own store keeps cookies between calls; with one it is left alone.
TEST_F(HttpResponse, TheClientsCookieStoreIsUsedOnlyWithoutAJar)
{
    // A host of its own: the store lives as long as the process.
    Route({server.connectTo("store.taobao.com")});
    reply = Ok("", "Set-Cookie: kept=1; path=/\r\n");
    GetBody("http://store.taobao.com/first");
    reply = Ok("", "Set-Cookie: jarred=2; path=/\r\n");
    const HttpReply jarred = Send({.url = "http://store.taobao.com/second", .cookieJar = "mine=3"});
    reply = Ok("");
    GetBody("http://store.taobao.com/third");

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(HeaderLinesOf(requests[1]).back(), "Cookie: mine=3");
    EXPECT_EQ(requests[1].find("kept=1"), std::string::npos);
    EXPECT_NE(requests[2].find("Cookie: kept=1\r\n"), std::string::npos);
    EXPECT_EQ(requests[2].find("jarred"), std::string::npos);
    EXPECT_EQ(jarred.cookieJar, "jarred=2; mine=3");
}

}  // namespace
}  // namespace korvel::test
