// The request's header block and the reading of the response's block, without a server.

#include <gtest/gtest.h>

#include "web/HeaderBlock.h"

namespace korvel {
namespace {

const std::string Defaults =
    "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";

TEST(HttpHeaderBlock, EmptyHeadersGetTheFullDefaultBlock)
{
    std::string headers;
    AppendDefaultHeaders(headers, "http://shop.taobao.com/x", "");
    EXPECT_EQ(headers, "Referer: http://shop.taobao.com/x" + Defaults);
}

TEST(HttpHeaderBlock, CallerLinesComeFirstAndSuppressOnlyExactNames)
{
    std::string headers = "User-Agent: X\r\nAccept: text/html";
    AppendDefaultHeaders(headers, "u", "a=1; b=2");
    EXPECT_EQ(headers,
              "User-Agent: X\r\nAccept: text/html\r\nReferer: u\r\nAccept-Language: zh-cn"
              "\r\nContent-Type: application/x-www-form-urlencoded\r\nCookie: a=1; b=2");

    std::string lower = "accept: x";
    AppendDefaultHeaders(lower, "u", "");
    EXPECT_EQ(lower, "accept: x\r\nReferer: u" + Defaults);
}

TEST(HttpHeaderBlock, ARepeatAddsNoSecondDefaultButASecondCookieLine)
{
    std::string headers;
    AppendDefaultHeaders(headers, "http://first/", "a=1");
    AppendDefaultHeaders(headers, "http://second/", "a=2");
    EXPECT_EQ(headers, "Referer: http://first/" + Defaults + "\r\nCookie: a=1\r\nCookie: a=2");
}

TEST(HttpHeaderBlock, UserAgentComesFromTheCallersLineOrTheDefault)
{
    EXPECT_EQ(ChooseUserAgent(""), DefaultUserAgent);
    EXPECT_EQ(ChooseUserAgent("Accept: a"), DefaultUserAgent);
    EXPECT_EQ(ChooseUserAgent("User-Agent:  X \r\nAccept: text/html"), "X");
    EXPECT_EQ(ChooseUserAgent("user-agent: low\r\n"), "low");
    // Without a line end after it, the agent is the value of the text's first header line.
    EXPECT_EQ(ChooseUserAgent("User-Agent: Solo"), "Solo");
    EXPECT_EQ(std::string(DefaultUserAgent),
              "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; Q4R7T; .NET CLR 2.0.50727; "
              ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)");
}

TEST(HttpHeaderBlock, LinesSplitAtCrLfWithoutEmptyOnes)
{
    EXPECT_EQ(HeaderLines("A: 1\r\n\r\nB: 2\r\n"), (std::vector<std::string>{"A: 1", "B: 2"}));
    EXPECT_TRUE(HeaderLines("").empty());
}

TEST(HttpResponseHeaders, LocationAndCookiesComeFromCaseSensitiveNames)
{
    std::string location = "kept";
    std::string cookies = "old";
    ReadResponseHeaders(
        "HTTP/1.1 200 OK\r\nLocation: http://a/1\r\nlocation: http://lower/\r\nSet-Cookie: a=1; path=/\r\n"
        "set-cookie: z=9; path=/\r\nLocation: http://a/2\r\nSet-Cookie:  b=2 ;HttpOnly\r\n\r\n",
        location, cookies);
    EXPECT_EQ(location, "http://a/2");
    EXPECT_EQ(cookies, "a=1; b=2");
}

TEST(HttpResponseHeaders, NothingFoundLeavesLocationAndEmptiesCookies)
{
    std::string location = "kept";
    std::string cookies = "old";
    ReadResponseHeaders("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", location, cookies);
    EXPECT_EQ(location, "kept");
    EXPECT_EQ(cookies, "");
}

TEST(HttpResponseHeaders, ACookieWithoutSemicolonIsAnEmptyEntry)
{
    std::string location;
    std::string cookies;
    ReadResponseHeaders("HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\n", location, cookies);
    EXPECT_EQ(cookies, "");
    ReadResponseHeaders("HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nSet-Cookie: b=2; path=/\r\n", location,
                        cookies);
    EXPECT_EQ(cookies, "; b=2");
}

TEST(HttpResponseHeaders, OnlyA11StatusWith301MovedIsRepeated)
{
    EXPECT_TRUE(IsMoved301("HTTP/1.1 301 Moved Permanently\r\nLocation: x\r\n"));
    EXPECT_FALSE(IsMoved301("HTTP/1.1 302 Moved Temporarily\r\n"));
    EXPECT_FALSE(IsMoved301("HTTP/1.0 301 Moved Permanently\r\n"));
    EXPECT_FALSE(IsMoved301("HTTP/1.1 301 OK\r\n"));
    EXPECT_FALSE(IsMoved301(""));
}

TEST(HttpResponseHeaders, TheRepeatKeepsTheOldPathBehindTheLocation)
{
    EXPECT_EQ(FollowUpAddress("https://host", "http://host/a/b?c=1"), "https://host/a/b?c=1");
    EXPECT_EQ(FollowUpAddress("https://host", "http://host"), "https://host/");
}

}  // namespace
}  // namespace korvel
