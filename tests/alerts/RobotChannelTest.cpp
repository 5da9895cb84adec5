#include <gtest/gtest.h>

#include <thread>

#include "RobotStandIn.h"
#include "alerts/ChannelSettings.h"
#include "alerts/DingTalkChannel.h"
#include "alerts/FeishuChannel.h"
#include "alerts/WeComChannel.h"
#include "support/FaultServer.h"

namespace korvel::alerts {
namespace {

using namespace std::chrono_literals;
using test::Answer;

constexpr const char* Token = "tok-0123456789-secret";
constexpr const char* Secret = "SEC0123456789abcdef-secret";

// Short waits for the tests; the shape of the policy is the real one.
RetryPolicy QuickRetries()
{
    return {2, 5s, 200ms};
}

AlertMessage Sample(const Channel& channel)
{
    return ComposeAlert(test::PriceReport(3), channel.layout(), 8h);
}

class Robots : public test::HttpTest {};

struct SignedCase {
    const char* name;
    std::function<ChannelSettings(const std::string& url)> settings;
    const char* target;  // the address as copied from the robot's page
    const char* robotSecret;
    Outcome outcome;
    std::optional<long long> code;
    const char* bodyHas;
};

std::unique_ptr<test::RobotStandIn> RobotFor(const SignedCase& c)
{
    const std::string name = c.name;
    if (name.starts_with("dingtalk"))
        return test::DingTalkRobot(Token, c.robotSecret);
    if (name.starts_with("wecom"))
        return test::WeComRobot(Token);
    return test::FeishuRobot(Token, c.robotSecret);
}

class Signed : public Robots, public ::testing::WithParamInterface<SignedCase> {};

// The robots check keys and signatures as the services do; a wrong secret is refused with the
// robot's own code, and a test message goes through like any other.
TEST_P(Signed, RobotAcceptsOrRefuses)
{
    const SignedCase& c = GetParam();
    const auto robot = RobotFor(c);
    const auto channel = MakeChannel(c.settings(robot->url(c.target)));
    Cancellation cancel;
    const Delivery delivery = channel->send(Sample(*channel), cancel);
    EXPECT_EQ(delivery.outcome, c.outcome) << gbk::ToUtf8(CauseText(delivery));
    EXPECT_EQ(delivery.cause.code, c.code);
    EXPECT_EQ(delivery.attempts, 1);
    ASSERT_EQ(robot->received().size(), 1u);
    EXPECT_NE(robot->received()[0].body.find(c.bodyHas), std::string::npos) << robot->received()[0].body;
    if (c.outcome == Outcome::Delivered) {
        EXPECT_EQ(channel->sendTest(cancel).outcome, Outcome::Delivered);
    }
}

std::string DingTalkTarget()
{
    return std::string("/robot/send?access_token=") + Token;
}

INSTANTIATE_TEST_SUITE_P(
    Channels, Signed,
    ::testing::Values(
        SignedCase{"dingtalk_signed_markdown", [](const std::string& url) { return DingTalkSettings{url, Secret}; },
                   "/robot/send?access_token=tok-0123456789-secret", Secret, Outcome::Delivered, std::nullopt,
                   R"("msgtype":"markdown","markdown":{"title":"shop123.taobao.com)"},
        SignedCase{"dingtalk_unsigned_text",
                   [](const std::string& url) { return DingTalkSettings{url, "", Rendering::Plain}; },
                   "/robot/send?access_token=tok-0123456789-secret", "", Outcome::Delivered, std::nullopt,
                   R"({"msgtype":"text","text":{"content":"shop123)"},
        SignedCase{"dingtalk_wrong_secret",
                   [](const std::string& url) { return DingTalkSettings{url, "SECnot-the-robots"}; },
                   "/robot/send?access_token=tok-0123456789-secret", Secret, Outcome::Failed, 310000, "markdown"},
        SignedCase{"wecom_markdown", [](const std::string& url) { return WeComSettings{url}; },
                   "/cgi-bin/webhook/send?key=tok-0123456789-secret", "", Outcome::Delivered, std::nullopt,
                   R"({"msgtype":"markdown","markdown":{"content":"### shop123)"},
        SignedCase{"feishu_signed_text", [](const std::string& url) { return FeishuSettings{url, Secret}; },
                   "/open-apis/bot/v2/hook/tok-0123456789-secret", Secret, Outcome::Delivered, std::nullopt,
                   R"("msg_type":"text","content":{"text":"shop123)"},
        SignedCase{"feishu_post", [](const std::string& url) { return FeishuSettings{url, Secret, true}; },
                   "/open-apis/bot/v2/hook/tok-0123456789-secret", Secret, Outcome::Delivered, std::nullopt,
                   R"("msg_type":"post","content":{"post":{"zh_cn":{"title":)"},
        SignedCase{"feishu_wrong_secret", [](const std::string& url) { return FeishuSettings{url, "other"}; },
                   "/open-apis/bot/v2/hook/tok-0123456789-secret", Secret, Outcome::Failed, 19021, "sign"}),
    [](const auto& tested) { return std::string(tested.param.name); });

struct RateCase {
    const char* name;
    std::vector<Answer> answers;
    Outcome outcome;
    int attempts;
    std::chrono::milliseconds waitedAtLeast;
    std::chrono::milliseconds reportedWait;
};

class RateLimits : public Robots, public ::testing::WithParamInterface<RateCase> {};

// A rate-limit answer is waited out and retried a bounded number of times; a wait longer than the
// policy allows, or any other failure, ends the send at once.
TEST_P(RateLimits, WaitRetryOrGiveUp)
{
    const RateCase& c = GetParam();
    auto robot = test::DingTalkRobot(Token, "");
    robot->script(c.answers);
    DingTalkChannel channel({robot->url(DingTalkTarget()), "", Rendering::Markdown, 4000, {}, QuickRetries()});
    Cancellation cancel;
    const auto start = std::chrono::steady_clock::now();
    const Delivery delivery = channel.send(Sample(channel), cancel);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(delivery.outcome, c.outcome) << gbk::ToUtf8(CauseText(delivery));
    EXPECT_EQ(delivery.attempts, c.attempts);
    EXPECT_EQ(robot->received().size(), size_t(c.attempts));
    EXPECT_GE(took, c.waitedAtLeast);
    EXPECT_LT(took, c.waitedAtLeast + 3s);
    EXPECT_EQ(delivery.wait, c.reportedWait);
}

const Answer TooFast{200, R"({"errcode":130101,"errmsg":"send too fast, exceed 20 times per minute"})"};

INSTANTIATE_TEST_SUITE_P(
    Answers, RateLimits,
    ::testing::Values(
        RateCase{"retry_after_429", {{429, "", "1"}}, Outcome::Delivered, 2, 1s, 0ms},
        RateCase{"robot_code_then_ok", {TooFast}, Outcome::Delivered, 2, 200ms, 0ms},
        RateCase{"still_too_fast", {TooFast, TooFast, TooFast}, Outcome::RateLimited, 3, 400ms, 200ms},
        RateCase{"wait_beyond_policy", {{429, "", "100"}}, Outcome::RateLimited, 1, 0ms, 100s},
        RateCase{"server_error_not_retried", {{500, R"({"errcode":-1,"errmsg":"system busy"})"}}, Outcome::Failed, 1,
                 0ms, 0ms},
        RateCase{"unreadable_answer", {{200, "<html>ok</html>"}}, Outcome::Failed, 1, 0ms, 0ms},
        RateCase{"redirect_not_followed", {{302, ""}}, Outcome::Failed, 1, 0ms, 0ms}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(Robots, OtherRobotsRateLimitCodes)
{
    auto wecom = test::WeComRobot(Token);
    wecom->script({{200, R"({"errcode":45009,"errmsg":"api freq out of limit"})"}});
    WeComChannel weCom({wecom->url(std::string("/cgi-bin/webhook/send?key=") + Token), {}, QuickRetries()});
    auto feishu = test::FeishuRobot(Token, "");
    feishu->script({{200, R"({"code":11232,"msg":"frequency limited"})"}});
    FeishuChannel feiShu({feishu->url(std::string("/open-apis/bot/v2/hook/") + Token), "", false, 12000, {},
                          QuickRetries()});
    Cancellation cancel;
    for (Channel* channel : std::initializer_list<Channel*>{&weCom, &feiShu}) {
        const Delivery delivery = channel->send(Sample(*channel), cancel);
        EXPECT_EQ(delivery.outcome, Outcome::Delivered) << gbk::ToUtf8(CauseText(delivery));
        EXPECT_EQ(delivery.attempts, 2);
    }
}

// Three messages a window: the fourth waits for the first to leave it.
TEST_F(Robots, PacerHoldsTheFourthMessage)
{
    auto robot = test::DingTalkRobot(Token, "");
    const DingTalkSettings settings{robot->url(DingTalkTarget()), "", Rendering::Markdown, 4000, {3, 700ms}, {}};
    Cancellation cancel;
    for (int i = 0; i < 4; ++i) {
        // A channel made anew for each alert still keeps the robot's pace.
        const auto channel = MakeChannel(settings);
        EXPECT_EQ(channel->send(Sample(*channel), cancel).outcome, Outcome::Delivered);
    }
    const auto received = robot->received();
    ASSERT_EQ(received.size(), 4u);
    EXPECT_GE(received[3].at - received[0].at, 690ms);
    EXPECT_LT(received[2].at - received[0].at, 690ms);
}

// Nothing listens, nothing answers, or the user gives up: each ends within its bound.
TEST_F(Robots, DeadSlowAndCancelled)
{
    SetTimeouts(1s, 1s, 2s);
    tools::FaultServer silent([](const std::string&) { return tools::FaultReply::Never(); });
    ASSERT_NE(silent.port(), 0);
    auto slowRobot = test::DingTalkRobot(Token, "");
    slowRobot->script({{429, "", "30"}});
    int closed = 0;
    {
        tools::FaultServer gone([](const std::string&) { return tools::FaultReply::Never(); });
        closed = gone.port();
    }
    const std::string silentUrl = "http://127.0.0.1:" + std::to_string(silent.port()) + DingTalkTarget();
    struct Case {
        const char* name;
        std::string url;
        bool cancelSoon;
        FailureKind kind;
        std::chrono::milliseconds within;
    } cases[] = {
        {"refused", "http://127.0.0.1:" + std::to_string(closed) + DingTalkTarget(), false, FailureKind::Transport, 1s},
        {"silent", silentUrl, false, FailureKind::Transport, 4s},
        {"cancelled_in_flight", silentUrl, true, FailureKind::Cancelled, 1s},
        {"cancelled_while_waiting", slowRobot->url(DingTalkTarget()), true, FailureKind::Cancelled, 1s},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DingTalkChannel channel({c.url, "", Rendering::Markdown, 4000, {}, {2, 60s, 60s}});
        Cancellation cancel;
        std::thread canceller;
        if (c.cancelSoon)
            canceller = std::thread([&] {
                std::this_thread::sleep_for(200ms);
                cancel.cancel();
            });
        const auto start = std::chrono::steady_clock::now();
        const Delivery delivery = channel.send(Sample(channel), cancel);
        const auto took = std::chrono::steady_clock::now() - start;
        if (canceller.joinable())
            canceller.join();
        EXPECT_EQ(delivery.outcome, Outcome::Failed);
        EXPECT_EQ(delivery.cause.kind, c.kind) << gbk::ToUtf8(CauseText(delivery));
        EXPECT_LT(took, c.within);
        EXPECT_EQ(delivery.cause.host, "127.0.0.1");
    }
}

// However a send fails, its cause names the channel and host and never the key or the secret,
// not even when the server repeats them back.
TEST_F(Robots, CausesKeepKeysOut)
{
    test::LocalServer echo;
    echo.http().Post(".*", [](const httplib::Request& request, httplib::Response& response) {
        response.status = 500;
        response.set_content(R"({"errcode":1,"errmsg":"bad request )" + request.target + " " +
                                 request.get_header_value("X-Korvel-Signature") + R"("})",
                             "application/json");
    });
    echo.start();
    const std::string target = std::string("/hook/") + Token + "?access_token=" + Token;
    const ChannelSettings settings[] = {
        DingTalkSettings{echo.origin() + target, Secret},
        FeishuSettings{echo.origin() + target, Secret},
        WebhookSettings{echo.origin() + target, Secret},
        DingTalkSettings{"http://robot.example.test" + target, Secret},
        EmailSettings{"smtp://127.0.0.1:1", "korvel", Secret, "a@korvel.test", {"b@korvel.test"}},
    };
    Cancellation cancel;
    for (const ChannelSettings& one : settings) {
        const auto channel = MakeChannel(one);
        const Delivery delivery = channel->sendTest(cancel);
        const std::string text = gbk::ToUtf8(CauseText(delivery));
        SCOPED_TRACE(text);
        EXPECT_EQ(delivery.outcome, Outcome::Failed);
        EXPECT_EQ(text.find("0123456789"), std::string::npos);
        EXPECT_EQ(text.find("secret"), std::string::npos);
        EXPECT_TRUE(text.find("127.0.0.1") != std::string::npos || delivery.cause.kind == FailureKind::Settings);
    }
    CloseIdleConnections();
}

}  // namespace
}  // namespace korvel::alerts
