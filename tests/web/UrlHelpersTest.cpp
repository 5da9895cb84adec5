#include <gtest/gtest.h>

#include "web/UrlHelpers.h"

namespace korvel {
namespace {

TEST(TextBetween, CutsBetweenTheFirstStartMarkerAndTheNextEndMarker)
{
    EXPECT_EQ(TextBetween("a=1; b=2", "=", ";"), "1");
    EXPECT_EQ(TextBetween("a=1, b=2", "=", ";"), "");
    EXPECT_EQ(TextBetween("a=1; b=2", "#", ";"), "");
    EXPECT_EQ(TextBetween("a=;", "=", ";"), "");
    EXPECT_EQ(TextBetween("<b>x</b><b>y</b>", "<b>", "</b>", 4), "y");
    EXPECT_EQ(TextBetween("<b>x</b><b>y</b>", "<b>", "</b>", 0), "x");
    // The end marker is searched behind the start marker, never inside it.
    EXPECT_EQ(TextBetween("x=y=z", "=", "="), "y");
    // Letter case is ignored unless asked for, and only for ASCII letters.
    EXPECT_EQ(TextBetween("<TD>v</td>", "<td>", "</TD>"), "v");
    EXPECT_EQ(TextBetween("<TD>v</td>", "<td>", "</TD>", 1, true), "");
    EXPECT_EQ(TextBetween("\x81J:v;", "j:", ";"), "");
    EXPECT_EQ(TextBetween("\xD4\xAA"
                          "5"
                          "\xBC\xFE",
                          "\xD4\xAA", "\xBC\xFE"),
              "5");
}

TEST(TextBetween, QuoteMarkerStandsForADoubleQuote)
{
    const std::string quoteMarker = "#\xd2\xfd\xba\xc5";
    EXPECT_EQ(TextBetween("<a href=\"x.htm\">", "href=" + quoteMarker, quoteMarker), "x.htm");
    EXPECT_EQ(TextBetween("a#\xd2\xfd\xba\xc5"
                          "b",
                          "a" + quoteMarker, "b"),
              "");
    EXPECT_EQ(TextBetween("a\"b\"", "A" + quoteMarker, quoteMarker), "b");
}

TEST(HeaderValue, TakesTheTrimmedTextAfterTheFirstColon)
{
    EXPECT_EQ(HeaderValue("Location: http://host/x"), "http://host/x");
    EXPECT_EQ(HeaderValue("Set-Cookie:\xA1\xA1 a=1  "), "a=1");
    EXPECT_EQ(HeaderValue("X-Empty:"), "");
    EXPECT_EQ(HeaderValue("HTTP/1.1 200 OK"), "");
    EXPECT_EQ(HeaderValue("Tab:\tv"), "\tv");
}

struct HostCase {
    std::string url;
    bool rootDomainOnly;
    bool keepPort;
    std::string host;
};

void PrintTo(const HostCase& c, std::ostream* os)
{
    *os << c.url << (c.rootDomainOnly ? " root" : "") << (c.keepPort ? " port" : "");
}

class UrlHostCases : public testing::TestWithParam<HostCase> {};

TEST_P(UrlHostCases, LowerCasesTheHost)
{
    const HostCase& c = GetParam();
    EXPECT_EQ(UrlHost(c.url, c.rootDomainOnly, c.keepPort), c.host) << c.url;
}

INSTANTIATE_TEST_SUITE_P(
    Web, UrlHostCases,
    testing::Values(HostCase{"HTTP://Shop.Host.Name:8080/a", false, false, "shop.host.name"},
                    HostCase{"HTTP://Shop.Host.Name:8080/a", false, true, "shop.host.name:8080"},
                    HostCase{"HTTP://Shop.Host.Name:8080/a", true, false, "host.name"},
                    HostCase{"HTTP://Shop.Host.Name:8080/a", true, true, "host.name:8080"},
                    HostCase{"host/x", false, false, "host"}, HostCase{"host", false, false, "host"},
                    HostCase{"https://a.b.c/?q=1", false, false, "a.b.c"},
                    HostCase{"HTTPS://Shop.Taobao.COM", true, false, "taobao.com"},
                    HostCase{"localhost:81", true, true, "localhost:81"},
                    HostCase{"http://127.0.0.1:8080/x", true, false, "0.1"}, HostCase{"", false, false, ""}));

TEST(UrlPort, ReadsThePortOrTheSchemeDefault)
{
    EXPECT_EQ(UrlPort("http://host:8080/x"), 8080);
    EXPECT_EQ(UrlPort("https://host/"), 443);
    EXPECT_EQ(UrlPort("HTTPS://host"), 443);
    EXPECT_EQ(UrlPort("host"), 80);
    EXPECT_EQ(UrlPort("http://host/a:b"), 80);
    EXPECT_EQ(UrlPort("https://host:8443"), 8443);
    EXPECT_EQ(UrlPort("host:abc"), 0);
    EXPECT_EQ(UrlPort("host:"), 0);
}

TEST(UrlPath, KeepsPathAndQueryOrGivesSlash)
{
    EXPECT_EQ(UrlPath("http://host/a/b?c=1"), "/a/b?c=1");
    EXPECT_EQ(UrlPath("http://host"), "/");
    EXPECT_EQ(UrlPath("http://host?c=1"), "/");
    EXPECT_EQ(UrlPath("HTTPS://Host:8443/Search.htm?Q=A"), "/Search.htm?Q=A");
    EXPECT_EQ(UrlPath("host/x/"), "/x/");
    EXPECT_EQ(UrlPath("https://host/"), "/");
}

}  // namespace
}  // namespace korvel
