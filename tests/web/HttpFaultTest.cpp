// Servers that misbehave: every failure ends within its limit, names its cause, and keeps what
// had arrived; a cancelled request ends at once; a body sent once is never sent again.

#include <thread>

#include "HttpTestSupport.h"
#include "support/FaultServer.h"

namespace korvel::test {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;
using tools::FaultReply;
using tools::FaultServer;

class HttpFault : public HttpTest {
protected:
    static std::string Address(const FaultServer& server, const std::string& path = "/p")
    {
        return "http://127.0.0.1:" + std::to_string(server.port()) + path;
    }
};

struct FaultCase {
    const char* name;
    std::function<FaultReply(const std::string& request)> reply;
    HttpFailure failure;
    int status;
    std::string body;  // what the request returns
    seconds idle{1};
    seconds total{10};
};

TEST_F(HttpFault, EachFailureEndsWithItsCauseAndWhatHadArrived)
{
    const std::string page = "0123456789abcdef";
    FaultReply drip = FaultReply::Respond(200, page);
    drip.act = FaultReply::Act::Drip;
    drip.dripEvery = milliseconds(150);
    const std::vector<FaultCase> cases = {
        {"reset in the middle of the body", [&](auto&) { return FaultReply::ResetMidBody(page, 6); },
         HttpFailure::ConnectionReset, 200, "012345"},
        {"closed before the promised body", [&](auto&) { return FaultReply::Raw(FaultReply::Act::Close, FaultReply::Respond(200, page).bytes.substr(0, 90)); },
         HttpFailure::IncompleteBody, 200, page.substr(0, 90 - (FaultReply::Respond(200, page).bytes.size() - page.size()))},
        {"accepts and never answers", [](auto&) { return FaultReply::Never(); }, HttpFailure::IdleTimeout, 0, ""},
        {"drips a few bytes a second", [&](auto&) { return drip; }, HttpFailure::IdleTimeout, 0, ""},
        {"keeps silent past the total limit", [](auto&) { return FaultReply::Never(); }, HttpFailure::TotalTimeout, 0,
         "", seconds(20), seconds(1)},
        {"redirects to itself", [](auto&) { return FaultReply::Redirect(302, "/p"); }, HttpFailure::TooManyRedirects,
         302, ""},
        {"answers nothing and closes", [](auto&) { return FaultReply::Raw(FaultReply::Act::Close, ""); },
         HttpFailure::NoReply, 0, ""},
        {"announces a body over the limit",
         [](auto&) { return FaultReply::Raw(FaultReply::Act::Stall, "HTTP/1.1 200 OK\r\nContent-Length: 999999999999\r\n\r\n"); },
         HttpFailure::BodyTooLarge, 200, ""},
        {"too many requests", [](auto&) { return FaultReply::Respond(429, "slow down"); }, HttpFailure::None, 429,
         "slow down"},
    };
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        SetTimeouts(seconds(5), c.idle, c.total);
        FaultServer server(c.reply);
        const auto started = std::chrono::steady_clock::now();
        const HttpReply reply = Send({.url = Address(server)});
        const HttpOutcome& outcome = reply.outcome;
        EXPECT_LT(std::chrono::steady_clock::now() - started, seconds(4));
        EXPECT_EQ(outcome.failure, c.failure) << outcome.detail;
        if (c.status != 0) {
            EXPECT_EQ(outcome.status, c.status);
        }
        if (c.failure != HttpFailure::IdleTimeout) {
            EXPECT_EQ(reply.body, c.body);
        }
        EXPECT_EQ(outcome.detail.empty(), c.failure == HttpFailure::None);
    }
}

TEST_F(HttpFault, ARefusedConnectionAndARefusedRedirectAreNamed)
{
    const int closedPort = FaultServer([](auto&) { return FaultReply::Never(); }).port();
    HttpOutcome outcome = Send({.url = "http://127.0.0.1:" + std::to_string(closedPort) + "/"}).outcome;
    EXPECT_EQ(outcome.failure, HttpFailure::ConnectionRefused);

    FaultServer login([](auto&) { return FaultReply::Redirect(302, "https://login.taobao.com/member/login.jhtml"); });
    const auto notToSignIn = [](std::string_view location) { return !location.starts_with("https://login."); };
    outcome = Send({.url = Address(login), .followAllowed = notToSignIn}).outcome;
    EXPECT_EQ(outcome.failure, HttpFailure::RedirectRefused);
    EXPECT_EQ(outcome.refusedLocation, "https://login.taobao.com/member/login.jhtml");
    EXPECT_EQ(login.requests().size(), 1u);
}

TEST_F(HttpFault, RefusedCertificatesSayWhy)
{
    FaultServer secure([](auto&) { return FaultReply::Respond(200, "ok"); }, TestTls());
    Route({secure.connectTo("shop.taobao.com"), secure.connectTo("shop.example.com")});
    EXPECT_EQ(GetBody("https://shop.taobao.com/"), "ok");
    HttpOutcome outcome = Send({.url = "https://shop.example.com/"}).outcome;
    EXPECT_EQ(outcome.failure, HttpFailure::Certificate);
    EXPECT_EQ(outcome.certificate, CertificateProblem::WrongName) << outcome.detail;
    SetExtraCaFile("");
    CloseIdleConnections();
    outcome = Send({.url = "https://shop.taobao.com/"}).outcome;
    EXPECT_EQ(outcome.failure, HttpFailure::Certificate);
    EXPECT_EQ(outcome.certificate, CertificateProblem::Untrusted);
}

TEST_F(HttpFault, CancellingEndsAWaitingRequestAtOnce)
{
    FaultServer silent([](auto&) { return FaultReply::Never(); });
    Cancellation cancel;
    std::thread canceller([&] {
        std::this_thread::sleep_for(milliseconds(200));
        cancel.cancel();
    });
    const auto started = std::chrono::steady_clock::now();
    HttpOutcome outcome = Send({.url = Address(silent), .cancel = &cancel}).outcome;
    EXPECT_LT(std::chrono::steady_clock::now() - started, milliseconds(900));
    canceller.join();
    EXPECT_EQ(outcome.failure, HttpFailure::Cancelled);
    // Once cancelled, a request is not even begun.
    outcome = Send({.url = Address(silent), .cancel = &cancel}).outcome;
    EXPECT_EQ(outcome.failure, HttpFailure::Cancelled);
    EXPECT_EQ(silent.requests().size(), 1u);
    EXPECT_FALSE(cancel.sleepFor(seconds(5)));
}

// The server reads the second request on a kept connection and drops it: the client would resend
// it on a fresh connection by itself; a body sent once is not.
TEST_F(HttpFault, ABodySentOnceIsNeverResent)
{
    for (const bool once : {false, true}) {
        SCOPED_TRACE(once ? "send once" : "may resend");
        int seen = 0;
        FaultServer server([&seen](auto&) {
            return ++seen == 2 ? FaultReply::Raw(FaultReply::Act::Reset, "") : FaultReply::Respond(200, "ok");
        });
        (void)Send({.url = Address(server), .method = 1, .body = "first"});
        const HttpOutcome outcome =
            Send({.url = Address(server), .method = 1, .body = "member", .sendOnce = once}).outcome;
        int received = 0;
        for (const std::string& request : server.requests())
            received += tools::BodyOf(request) == "member";
        EXPECT_EQ(received, once ? 1 : 2);
        EXPECT_EQ(outcome.failure, once ? HttpFailure::NotResent : HttpFailure::None);
        CloseIdleConnections();
    }
}

// A 307 or 308 asks for the same body at the new address: a body sent once goes there, once; a
// 302 turns the request into a GET without a body, as for any other request.
TEST_F(HttpFault, ABodySentOnceFollowsA307Or308)
{
    for (const int status : {307, 308, 302}) {
        SCOPED_TRACE(status);
        FaultServer server([&](const std::string& request) {
            return request.rfind("POST /p ", 0) == 0 ? FaultReply::Redirect(status, "/moved")
                                                     : FaultReply::Respond(200, "1");
        });
        const HttpReply reply = Send({.url = Address(server), .method = 1, .body = "member", .sendOnce = true});
        EXPECT_EQ(reply.body, "1");
        EXPECT_EQ(reply.outcome.failure, HttpFailure::None) << reply.outcome.detail;
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(tools::BodyOf(requests[1]), status == 302 ? "" : "member");
        CloseIdleConnections();
    }
}

// A connection that sat idle for a second may be closing on the server's side: a request that must
// not fail for that opens a fresh one instead.
TEST_F(HttpFault, OnlyRecentlyUsedConnectionsAreReusedWhenAsked)
{
    FaultServer server([](auto&) { return FaultReply::Respond(200, "ok"); });
    const HttpCall recent{.url = Address(server), .method = 1, .recentConnectionsOnly = true};
    (void)Send(recent);
    (void)Send(recent);
    EXPECT_EQ(server.connections(), 1);
    std::this_thread::sleep_for(milliseconds(1200));
    (void)Send(recent);
    EXPECT_EQ(server.connections(), 2);
    std::this_thread::sleep_for(milliseconds(1200));
    (void)Send({.url = Address(server), .method = 1});
    EXPECT_EQ(server.connections(), 2);
}

// The path and query go out as they stand; header lines ended by LF alone are still read apart.
TEST_F(HttpFault, TheRequestAndTheResponseHeadersAreTakenAsTheyStand)
{
    FaultServer server([](auto&) {
        return FaultReply::Raw(FaultReply::Act::Answer,
                               "HTTP/1.1 200 OK\nLocation: /next\nSet-Cookie: a=1; path=/\nContent-Length: 2\n\nok");
    });
    const HttpReply reply = Send({.url = Address(server, "/a/../b#c?x=1#2")});
    EXPECT_EQ(reply.body, "ok");
    EXPECT_EQ(RequestLine(server.requests().at(0)), "GET /a/../b#c?x=1#2 HTTP/1.1");
    EXPECT_EQ(reply.location, "/next");
    EXPECT_EQ(reply.returnedCookies, "a=1");
    EXPECT_EQ(reply.rawHeaders, "HTTP/1.1 200 OK\r\nLocation: /next\r\nSet-Cookie: a=1; path=/\r\nContent-Length: 2\r\n\r\n");
}

}  // namespace
}  // namespace korvel::test
