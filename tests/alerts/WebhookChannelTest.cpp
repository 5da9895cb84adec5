#include <gtest/gtest.h>

#include "AlertTestSupport.h"
#include "alerts/ChannelSettings.h"
#include "alerts/FlatJson.h"
#include "alerts/WebhookChannel.h"
#include "store/ChangeRows.h"

namespace korvel::alerts {
namespace {

using namespace std::chrono_literals;

class Webhook : public test::HttpTest {};

struct Seen {
    std::string body;
    std::string delivery;
    std::string timestamp;
    std::string signature;
};

// A receiver as the README tells one to be written: it checks the signature over timestamp "."
// body with its own copy of the secret, and answers 401 when it does not match.
TEST_F(Webhook, ReceiverVerifiesWhatItGets)
{
    const std::string secret = "whsec-correct-horse";
    std::mutex mutex;
    std::vector<Seen> seen;
    test::LocalServer receiver;
    receiver.http().Post("/korvel", [&](const httplib::Request& request, httplib::Response& response) {
        Seen one{request.body, request.get_header_value("X-Korvel-Delivery"),
                 request.get_header_value("X-Korvel-Timestamp"), request.get_header_value("X-Korvel-Signature")};
        const bool fresh = !one.timestamp.empty() && std::llabs(std::stoll(one.timestamp) - test::NowSeconds()) < 300;
        std::string hex;
        for (const unsigned char c : test::Hmac(secret, one.timestamp + "." + one.body)) {
            static const char digits[] = "0123456789abcdef";
            (hex += digits[c >> 4]) += digits[c & 15];
        }
        response.status = fresh && one.signature == "sha256=" + hex ? 204 : 401;
        std::lock_guard lock(mutex);
        seen.push_back(one);
    });
    receiver.start();

    const ChangeReport report = test::Report({
        test::Changed(ChangeKind::Price, "1001", "含\"引号\"的标题", "10.00", "8.00", "-2.00", "-20.00"),
        test::Changed(ChangeKind::Removed, "1002", "下架商品"),
    });
    Cancellation cancel;
    const struct {
        const char* secret;
        int status;
    } cases[] = {{"whsec-correct-horse", 204}, {"whsec-wrong", 401}, {"", 401}};
    for (const auto& c : cases) {
        WebhookChannel channel(WebhookSettings{.url = receiver.origin() + "/korvel", .secret = c.secret});
        const AlertMessage message = ComposeAlert(report, channel.layout(), 8h);
        const Delivery delivery = channel.send(message, cancel);
        EXPECT_EQ(delivery.outcome, c.status == 204 ? Outcome::Delivered : Outcome::Failed)
            << gbk::ToUtf8(CauseText(delivery));
        EXPECT_EQ(delivery.cause.status, c.status == 204 ? 0 : c.status);
        std::lock_guard lock(mutex);
        EXPECT_EQ(seen.back().delivery, message.deliveryId);
        EXPECT_EQ(seen.back().signature.empty(), *c.secret == '\0');
    }

    WebhookChannel testing(WebhookSettings{.url = receiver.origin() + "/korvel", .secret = secret});
    const Delivery tested = testing.sendTest(cancel);
    EXPECT_EQ(tested.outcome, Outcome::Delivered) << gbk::ToUtf8(CauseText(tested));

    // The body: the summary fields, and the changes exactly as the JSON Lines export writes them.
    std::lock_guard lock(mutex);
    const std::string& body = seen.front().body;
    const auto top = ReadFlatJson(body);
    ASSERT_TRUE(top) << body;
    EXPECT_EQ(top->at("event").text, "changes");
    EXPECT_EQ(top->at("shop").text, "shop123.taobao.com");
    EXPECT_EQ(top->at("run_after").text, "12");
    EXPECT_EQ(top->at("ended").text, "2024-05-01T02:30:00Z");
    EXPECT_EQ(top->at("total").text, "2");
    std::string lines = ChangesJsonLines(ChangeRows(report));
    lines.pop_back();
    std::replace(lines.begin(), lines.end(), '\n', ',');
    EXPECT_NE(body.find("\"changes\":[" + lines + "]"), std::string::npos) << body;

    EXPECT_EQ(ReadFlatJson(seen.back().body)->at("event").text, "test");
    CloseIdleConnections();
}

}  // namespace
}  // namespace korvel::alerts
