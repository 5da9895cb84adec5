// Failures end in an empty body; the time-out and the body limit hold.

#include "HttpTestSupport.h"

namespace korvel::test {
namespace {

using std::chrono::seconds;

class HttpFailure : public HttpTest {};

TEST_F(HttpFailure, ARefusedConnectionGivesAnEmptyReplyAndKeepsTheJar)
{
    const int closedPort = RawHttpServer([](const std::string&) { return Ok(""); }).port();
    const HttpReply reply =
        Send({.url = "http://127.0.0.1:" + std::to_string(closedPort) + "/", .method = 1, .cookieJar = "a=1;  b=2"});
    EXPECT_TRUE(reply.sent);
    EXPECT_EQ(reply.body, "");
    EXPECT_EQ(reply.rawHeaders, "");
    EXPECT_EQ(reply.returnedCookies, "");
    EXPECT_EQ(reply.location, "");
    EXPECT_EQ(reply.cookieJar, "a=1; b=2");
}

TEST_F(HttpFailure, AnAddressWithoutHostSendsNothingAndHandsTheCallBack)
{
    for (const std::string url : {"", "http://", "https:///x"}) {
        const HttpReply reply = Send({.url = url, .method = 1, .cookieJar = "a=1;  b=2", .location = "l"});
        EXPECT_FALSE(reply.sent);
        EXPECT_NE(reply.outcome.failure, korvel::HttpFailure::None);
        EXPECT_EQ(reply.body, "");
        EXPECT_EQ(reply.cookieJar, "a=1;  b=2");
        EXPECT_EQ(reply.returnedCookies, "");
        EXPECT_EQ(reply.location, "l");
        EXPECT_EQ(reply.rawHeaders, "");
    }
}

TEST_F(HttpFailure, AServerThatNeverAnswersIsAbandoned)
{
    RawHttpServer silent([](const std::string&) { return std::nullopt; });
    SetTimeouts(seconds(5), seconds(1));
    EXPECT_EQ(GetBody("http://127.0.0.1:" + std::to_string(silent.port()) + "/wait"), "");
    EXPECT_EQ(silent.requests().size(), 1u);
}

TEST_F(HttpFailure, ABodyOverTheLimitIsAbandoned)
{
    std::string body(1000, 'b');
    RawHttpServer server([&body](const std::string&) { return Ok(body); });
    const std::string url = "http://127.0.0.1:" + std::to_string(server.port()) + "/";
    SetMaxBodyBytes(1000);
    EXPECT_EQ(GetBody(url), body);
    body += 'x';
    EXPECT_EQ(GetBody(url), "");
    EXPECT_EQ(CurrentHttpSettings().maxBodyBytes, 1000u);
    ResetHttpSettings();
    EXPECT_EQ(CurrentHttpSettings().maxBodyBytes, std::size_t{256} << 20);
}

}  // namespace
}  // namespace korvel::test
