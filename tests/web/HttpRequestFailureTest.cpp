// Failures end in an empty body; the time-out and the body limit hold.

#include "HttpTestSupport.h"

namespace korvel::test {
namespace {

using std::chrono::seconds;

class HttpFailure : public HttpTest {};

TEST_F(HttpFailure, ARefusedConnectionGivesEmptyOutputsAndKeepsTheJar)
{
    const int closedPort = RawHttpServer([](const std::string&) { return Ok(""); }).port();
    std::string jar = "a=1;  b=2";
    std::string cookies = "stale";
    std::string location;
    std::string raw = "stale";
    const Bytes body = HttpRequest(
        "http://127.0.0.1:" + std::to_string(closedPort) + "/", 1,
        {.cookieJar = &jar, .returnedCookies = &cookies, .location = &location, .rawHeaders = &raw});
    EXPECT_EQ(body, "");
    EXPECT_EQ(raw, "");
    EXPECT_EQ(cookies, "");
    EXPECT_EQ(location, "");
    EXPECT_EQ(jar, "a=1; b=2");
}

TEST_F(HttpFailure, AnAddressWithoutHostSendsNothingAndTouchesNoOutput)
{
    for (const std::string url : {"", "http://", "https:///x"}) {
        std::string jar = "a=1;  b=2";
        std::string cookies = "c=3";
        std::string location = "l";
        std::string raw = "r";
        EXPECT_EQ(
            HttpRequest(
                url, 1,
                {.cookieJar = &jar, .returnedCookies = &cookies, .location = &location, .rawHeaders = &raw}),
            "");
        EXPECT_EQ(jar, "a=1;  b=2");
        EXPECT_EQ(cookies, "c=3");
        EXPECT_EQ(location, "l");
        EXPECT_EQ(raw, "r");
    }
}

TEST_F(HttpFailure, AServerThatNeverAnswersIsAbandoned)
{
    RawHttpServer silent([](const std::string&) { return std::nullopt; });
    SetTimeouts(seconds(5), seconds(1));
    EXPECT_EQ(HttpRequest("http://127.0.0.1:" + std::to_string(silent.port()) + "/wait"), "");
    EXPECT_EQ(silent.requests().size(), 1u);
}

TEST_F(HttpFailure, ABodyOverTheLimitIsAbandoned)
{
    std::string body(1000, 'b');
    RawHttpServer server([&body](const std::string&) { return Ok(body); });
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/";
    SetMaxBodyBytes(1000);
    EXPECT_EQ(HttpRequest(url), body);
    body += 'x';
    EXPECT_EQ(HttpRequest(url), "");
    EXPECT_EQ(CurrentHttpSettings().maxBodyBytes, 1000u);
    ResetHttpSettings();
    EXPECT_EQ(CurrentHttpSettings().maxBodyBytes, std::size_t{256} << 20);
}

}  // namespace
}  // namespace korvel::test
