#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "AlertTestSupport.h"
#include "alerts/ChannelSettings.h"
#include "alerts/FlatJson.h"
#include "support/TestEnvironment.h"

namespace korvel::alerts {
namespace {

using namespace std::chrono_literals;

// Against the throwaway mail server of scripts/test; mail.korvel.test is routed to it, and its
// certificate names that host and 127.0.0.1.
class Email : public test::HttpTest {
protected:
    void SetUp() override
    {
        const auto smtp = test::TestSmtpServer();
        if (!smtp) {
            if (test::ServersRequired())
                FAIL() << "KORVEL_TEST_SMTP_* are not set";
            GTEST_SKIP() << "no SMTP server: KORVEL_TEST_SMTP_* are not set (scripts/test starts one)";
        }
        smtp_ = *smtp;
        ResetHttpSettings();
        SetExtraCaFile(smtp_.caFile);
    }

    // A recipient no other test uses, to find this test's mail by.
    std::string recipient(const std::string& name)
    {
        static int counter = 0;
        return name + "-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "@korvel.test";
    }

    void route(int port, int asPort)
    {
        SetConnectTo("mail.korvel.test:" + std::to_string(asPort) + ":127.0.0.1:" + std::to_string(port));
    }

    // What the server's mail parser made of the message to `to`; nothing after a few seconds.
    std::optional<FlatJson> received(const std::string& to, std::chrono::milliseconds patience = 5s)
    {
        const auto until = std::chrono::steady_clock::now() + patience;
        do {
            for (const auto& entry : std::filesystem::directory_iterator(smtp_.mailDir)) {
                if (entry.path().extension() != ".json")
                    continue;
                auto json = ReadFlatJson(test::ReadFile(entry.path()));
                if (json && json->contains("rcpt_tos") && json->at("rcpt_tos").text.find(to) != std::string::npos)
                    return json;
            }
            std::this_thread::sleep_for(50ms);
        } while (std::chrono::steady_clock::now() < until);
        return std::nullopt;
    }

    test::TestSmtp smtp_;
};

std::string WithLf(std::string text)
{
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at, 1);
    return text;
}

// Each way in (STARTTLS, TLS from the start, the plain relay on this computer) delivers a mail
// that a mail reader parses back to the alert: the subject split over several encoded-words, the
// body, every recipient, Date and Message-ID.
TEST_F(Email, MailReadsBackAsSent)
{
    struct Case {
        const char* name;
        std::string server;
        int routedPort;
        const char* user;
        const char* password;
    } cases[] = {
        {"starttls", "smtp://mail.korvel.test:587", smtp_.startTlsPort, "korvel", "pw-ok"},
        {"implicit_tls", "smtps://mail.korvel.test", smtp_.tlsPort, "", ""},
        {"loopback_plain", "smtp://127.0.0.1:" + std::to_string(smtp_.plainPort), 0, "", ""},
    };
    AlertMessage message = ComposeAlert(test::PriceReport(40), {Rendering::Plain, 256 * 1024}, 8h);
    message.title = "旗舰店「夏季新款」价格变化提醒：共 40 项，其中 12 项降价超过一成，请尽快核对库存与售价 ✓";
    Cancellation cancel;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.routedPort != 0)
            route(c.routedPort, c.server.starts_with("smtps") ? 465 : 587);
        const std::vector<std::string> to = {recipient(c.name), recipient(c.name)};
        const auto channel = MakeChannel(EmailSettings{c.server, c.user, c.password, "alerts@korvel.test", to});
        const Delivery delivery = channel->send(message, cancel);
        ASSERT_EQ(delivery.outcome, Outcome::Delivered) << gbk::ToUtf8(CauseText(delivery));
        const auto mail = received(to[0]);
        ASSERT_TRUE(mail);
        ASSERT_FALSE(mail->contains("error")) << mail->at("error").text;
        EXPECT_EQ(mail->at("subject").text, message.title);
        EXPECT_EQ(WithLf(mail->at("body").text), message.text);
        EXPECT_EQ(mail->at("rcpt_tos").text, to[0] + "," + to[1]);
        EXPECT_EQ(mail->at("to").text, to[0] + "," + to[1]);
        EXPECT_EQ(mail->at("from").text, "alerts@korvel.test");
        EXPECT_EQ(mail->at("charset").text, "utf-8");
        EXPECT_EQ(mail->at("defects").text, "0");
        EXPECT_EQ(mail->at("delivery").text, message.deliveryId);
        EXPECT_NEAR(std::stod(mail->at("date").text), double(test::NowSeconds()), 300);
        EXPECT_TRUE(mail->at("message_id").text.ends_with("@korvel.test>"));
    }
}

// No STARTTLS from a server elsewhere, a wrong password, a refused recipient, unusable settings:
// each is said as such, and nothing reaches the mailbox.
TEST_F(Email, RefusalsNameTheirCause)
{
    struct Case {
        const char* name;
        std::string server;
        int routedPort;
        std::string password;
        std::string to;
        FailureKind kind;
        int status;
    } cases[] = {
        {"no_starttls", "smtp://mail.korvel.test:587", smtp_.plainPort, "", recipient("plain"), FailureKind::NoEncryption, 0},
        {"wrong_password", "smtp://mail.korvel.test:587", smtp_.startTlsPort, "pw-wrong-secret", recipient("login"),
         FailureKind::LoginDenied, 535},
        {"refused_recipient", "smtp://127.0.0.1:" + std::to_string(smtp_.plainPort), 0, "", "refused-1@korvel.test",
         FailureKind::MailRefused, 550},
        {"header_in_recipient", "smtp://127.0.0.1:" + std::to_string(smtp_.plainPort), 0, "",
         "a@korvel.test\r\nBcc: b@korvel.test", FailureKind::Settings, 0},
        {"not_smtp", "https://mail.korvel.test", 0, "", recipient("scheme"), FailureKind::Settings, 0},
    };
    Cancellation cancel;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.routedPort != 0)
            route(c.routedPort, 587);
        const auto channel =
            MakeChannel(EmailSettings{c.server, c.password.empty() ? "" : "korvel", c.password, "alerts@korvel.test", {c.to}});
        const Delivery delivery = channel->sendTest(cancel);
        const std::string text = gbk::ToUtf8(CauseText(delivery));
        EXPECT_EQ(delivery.outcome, Outcome::Failed);
        EXPECT_EQ(delivery.cause.kind, c.kind) << text;
        if (c.status != 0) {
            EXPECT_EQ(delivery.cause.status, c.status) << text;
        }
        EXPECT_EQ(text.find("secret"), std::string::npos) << text;
        EXPECT_FALSE(received(c.to, 300ms)) << "a mail arrived";
    }
}

}  // namespace
}  // namespace korvel::alerts
