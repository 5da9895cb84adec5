// What a server receives from Send: the request line and the header block byte for byte.

#include "HttpTestSupport.h"

namespace korvel::test {
namespace {

const std::string Agent =
    "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; Q4R7T; .NET CLR 2.0.50727; "
    ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";

class HttpWire : public HttpTest {
protected:
    RawHttpServer server{[](const std::string&) { return Ok("fine"); }};

    void SetUp() override
    {
        HttpTest::SetUp();
        Route({server.connectTo("shop.taobao.com"), server.connectTo("shop.taobao.com", 8080)});
    }
    std::string Only() const
    {
        const auto requests = server.requests();
        EXPECT_EQ(requests.size(), 1u);
        return requests.empty() ? std::string() : requests.back();
    }
};

TEST_F(HttpWire, AGetCarriesTheDefaultBlockInItsOrder)
{
    EXPECT_EQ(GetBody("http://shop.taobao.com/search.htm?p=2"), "fine");
    EXPECT_EQ(
        RequestHead(Only()),
        "GET /search.htm?p=2 HTTP/1.1\r\nHost: shop.taobao.com\r\n" + Agent +
            "\r\nReferer: http://shop.taobao.com/search.htm?p=2\r\nAccept: */*\r\nAccept-Language: zh-cn"
            "\r\nContent-Type: application/x-www-form-urlencoded");
}

TEST_F(HttpWire, APostSendsItsBodyAtOnceWithItsLength)
{
    const std::string body(3000, 'x');  // long enough for a client to want "100-continue"
    (void)Send({.url = "http://shop.taobao.com/p", .method = 1, .body = body});
    const std::string request = Only();
    EXPECT_EQ(RequestLine(request), "POST /p HTTP/1.1");
    EXPECT_EQ(HeaderLinesOf(request).back(), "Content-Length: 3000");
    EXPECT_EQ(RequestBody(request), body);
    EXPECT_EQ(request.find("Expect"), std::string::npos);
    EXPECT_EQ(request.find("Accept-Encoding"), std::string::npos);
}

TEST_F(HttpWire, MethodDecidesVerbAndBody)
{
    (void)Send({.url = "http://shop.taobao.com/0", .method = 0, .body = "ignored"});
    (void)Send({.url = "http://shop.taobao.com/1", .method = 1});
    (void)Send({.url = "http://shop.taobao.com/2", .method = 2, .body = "q=1"});
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(RequestLine(requests[0]), "GET /0 HTTP/1.1");
    EXPECT_EQ(RequestBody(requests[0]), "");
    EXPECT_EQ(requests[0].find("Content-Length"), std::string::npos);
    EXPECT_EQ(RequestLine(requests[1]), "POST /1 HTTP/1.1");
    EXPECT_EQ(HeaderLinesOf(requests[1]).back(), "Content-Length: 0");
    EXPECT_EQ(RequestLine(requests[2]), "GET /2 HTTP/1.1");
    EXPECT_EQ(RequestBody(requests[2]), "q=1");
}

TEST_F(HttpWire, ABodyKeepsItsZeroBytes)
{
    const Bytes bytes("a\0b\0\xB0\xA1", 6);
    (void)Send({.url = "http://shop.taobao.com/b", .method = 1, .body = bytes});
    EXPECT_EQ(RequestBody(Only()), bytes);
}

TEST_F(HttpWire, CallerLinesGoFirstAndNameTheAgent)
{
    (void)Send({.url = "http://shop.taobao.com/h", .extraHeaders = "User-Agent: X\r\nAccept: text/html"});
    EXPECT_EQ(HeaderLinesOf(Only()),
              (std::vector<std::string>{"Host: shop.taobao.com", "User-Agent: X", "Accept: text/html",
                                        "Referer: http://shop.taobao.com/h", "Accept-Language: zh-cn",
                                        "Content-Type: application/x-www-form-urlencoded"}));
}

TEST_F(HttpWire, LinesWithAnEmptyValueAreSentAsTheyStand)
{
    (void)Send({.url = "http://shop.taobao.com/e", .extraHeaders = "X-Empty:\r\nAccept: "});
    const auto lines = HeaderLinesOf(Only());
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[2], "X-Empty:");
    EXPECT_EQ(lines[3], "Accept:");
    EXPECT_EQ(lines[4], "Referer: http://shop.taobao.com/e");
}

TEST_F(HttpWire, ALowerCaseAcceptKeepsTheDefaultOne)
{
    (void)Send({.url = "http://shop.taobao.com/h", .extraHeaders = "accept: x"});
    const auto lines = HeaderLinesOf(Only());
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[2], "accept: x");
    EXPECT_EQ(lines[4], "Accept: */*");
}

TEST_F(HttpWire, AJarGoesOutAsACookieLine)
{
    (void)Send({.url = "http://shop.taobao.com/c", .cookieJar = "a=1; b=2"});
    EXPECT_EQ(HeaderLinesOf(Only()).back(), "Cookie: a=1; b=2");
}

TEST_F(HttpWire, AddressesWithoutSchemeOrPathAndWithPorts)
{
    GetBody("shop.taobao.com/x");
    GetBody("http://shop.taobao.com?a=1");
    GetBody("HTTP://Shop.Taobao.com:8080/P?Q=1");
    GetBody("http://shop.taobao.com:/empty-port");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(RequestLine(requests[0]), "GET /x HTTP/1.1");
    EXPECT_EQ(RequestLine(requests[1]), "GET / HTTP/1.1");
    EXPECT_EQ(RequestLine(requests[2]), "GET /P?Q=1 HTTP/1.1");
    EXPECT_EQ(HeaderLinesOf(requests[2])[0], "Host: shop.taobao.com:8080");
    EXPECT_EQ(RequestLine(requests[3]), "GET /empty-port HTTP/1.1") << "an empty port is the default one";
}

TEST_F(HttpWire, GbkBytesInTheQueryGoAsTheyStand)
{
    GetBody("http://shop.taobao.com/s?q=\xCA\xD6\xBB\xFA");
    EXPECT_EQ(RequestLine(Only()), "GET /s?q=\xCA\xD6\xBB\xFA HTTP/1.1");
}

TEST_F(HttpWire, AProxyCarriesPlainRequestsOnly)
{
    RawHttpServer proxy([](const std::string&) { return Ok("via proxy"); });
    const std::string proxyAddress = "127.0.0.1:" + std::to_string(proxy.port());
    EXPECT_EQ(Send({.url = "http://far.example:8080/x?y=1", .proxy = proxyAddress}).body, "via proxy");
    ASSERT_EQ(proxy.requests().size(), 1u);
    EXPECT_EQ(RequestLine(proxy.requests()[0]), "GET http://far.example:8080/x?y=1 HTTP/1.1");

    LocalServer secure(true);
    secure.http().Get("/s", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("direct", "text/plain");
    });
    secure.start();
    Route({secure.connectTo("shop.taobao.com")});
    EXPECT_EQ(Send({.url = "https://shop.taobao.com/s", .proxy = proxyAddress}).body, "direct");
    EXPECT_EQ(proxy.requests().size(), 1u);
    CloseIdleConnections();
}

}  // namespace
}  // namespace korvel::test
