#include <gtest/gtest.h>

#include "alerts/FlatJson.h"
#include "alerts/Pacer.h"
#include "alerts/WebhookAddress.h"

namespace korvel::alerts {
namespace {

using namespace std::chrono_literals;

struct JsonCase {
    const char* json;
    bool readable;
    const char* member;
    const char* text;  // nullptr: absent
};

TEST(FlatJson, ReadsTheTopLevelOfAnswers)
{
    const JsonCase cases[] = {
        {R"({"errcode":0,"errmsg":"ok"})", true, "errcode", "0"},
        {R"( {"code":19021,"data":{"a":[1,{"msg":"inner"}]},"msg":"sign match fail"} )", true, "msg", "sign match fail"},
        {R"({"errmsg":"\u53d1\u9001\u592a\u5feb \ud83d\ude00 \"q\" \\ \/"})", true, "errmsg", "发送太快 😀 \"q\" \\ /"},
        {R"({"errmsg":"lone \ud800 surrogate"})", true, "errmsg", "lone \xEF\xBF\xBD surrogate"},
        {R"({"code":"130101"})", true, "code", "130101"},
        {R"({"data":{"errcode":5}})", true, "errcode", nullptr},
        {R"({"errcode":0,})", false, "", nullptr},
        {R"({"errmsg":"line
break"})", false, "", nullptr},
        {"<html>502 Bad Gateway</html>", false, "", nullptr},
        {R"({"n":-})", false, "", nullptr},
    };
    for (const JsonCase& c : cases) {
        SCOPED_TRACE(c.json);
        const auto json = ReadFlatJson(c.json);
        ASSERT_EQ(json.has_value(), c.readable);
        if (!json)
            continue;
        const auto found = json->find(c.member);
        if (c.text == nullptr) {
            EXPECT_EQ(found, json->end());
        } else {
            EXPECT_EQ(found->second.text, c.text);
        }
    }
    EXPECT_EQ(IntegerMember(*ReadFlatJson(R"({"code":"130101","x":1.5})"), "code"), 130101);
    EXPECT_EQ(IntegerMember(*ReadFlatJson(R"({"code":"130101","x":1.5})"), "x"), std::nullopt);
    EXPECT_FALSE(ReadFlatJson(std::string(100, '[') + std::string(100, ']')).has_value()) << "nesting is bounded";
}

TEST(Pacer, TheTwentyFirstInAMinuteWaits)
{
    Pacer pacer(PaceLimit{3, 60s});
    const auto start = Pacer::Clock::time_point() + 1000s;
    struct Step {
        std::chrono::milliseconds at;
        std::chrono::milliseconds wait;
    };
    const Step steps[] = {
        {0ms, 0ms},          {1000ms, 0ms},      {2000ms, 0ms},
        {3000ms, 57000ms},   // the 4th waits for the 1st to leave the window
        {3000ms, 58000ms},   // the 5th for the 2nd
        {61500ms, 500ms},    // the 6th for the 3rd, booked at 62 s
        {200000ms, 0ms},     // a quiet minute later the window is empty
    };
    for (const Step& step : steps)
        EXPECT_EQ(pacer.reserve(start + step.at).wait, step.wait) << step.at.count();

    // A turn answered late counts from its answer.
    Pacer slow(PaceLimit{1, 60s});
    slow.answered(slow.reserve(start).turn, start + 5s);
    EXPECT_EQ(slow.reserve(start + 10s).wait, 55s);
}

struct AddressCase {
    const char* text;
    bool accepted;
    const char* host;
    int port;
    const char* target;
};

TEST(WebhookAddress, KeysTravelEncryptedOnly)
{
    const AddressCase cases[] = {
        {"https://oapi.example.test/robot/send?access_token=abc", true, "oapi.example.test", 443, "/robot/send?access_token=abc"},
        {"HTTPS://Robot.Example.Test:8443", true, "robot.example.test", 8443, "/"},
        {"http://127.0.0.1:8080/hook", true, "127.0.0.1", 8080, "/hook"},
        {"https://[::1]:9/x", true, "[::1]", 9, "/x"},
        {"http://robot.example.test/send?key=k", false, "", 0, ""},
        {"http://localhost:8080/hook", false, "", 0, ""},
        {"https://user:pw@robot.example.test/", false, "", 0, ""},
        {"https://robot.example.test/send?key=a b", false, "", 0, ""},
        {"https://robot.example.test/send#frag", false, "", 0, ""},
        {"https://robot.example.test:99999/", false, "", 0, ""},
        {"https://robot_example.test/", false, "", 0, ""},
    };
    for (const AddressCase& c : cases) {
        SCOPED_TRACE(c.text);
        std::string problem;
        const auto address = ParseWebhookAddress(c.text, problem);
        ASSERT_EQ(address.has_value(), c.accepted) << problem;
        if (!address) {
            EXPECT_FALSE(problem.empty());
            continue;
        }
        EXPECT_EQ(address->host, c.host);
        EXPECT_EQ(address->port, c.port);
        EXPECT_EQ(address->target, c.target);
    }
}

}  // namespace
}  // namespace korvel::alerts
