#include "support/TestEnvironment.h"

#include <cstdlib>
#include <string_view>

namespace korvel::test {

std::optional<int> TestMysqlPort()
{
    const char* port = std::getenv("KORVEL_TEST_MYSQL_PORT");
    if (port == nullptr || *port == '\0') {
        return std::nullopt;
    }
    return std::atoi(port);
}

std::string TestMysqlSocket()
{
    const char* socket = std::getenv("KORVEL_TEST_MYSQL_SOCKET");
    return socket != nullptr ? socket : "";
}

std::optional<TestSmtp> TestSmtpServer()
{
    auto read = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value != nullptr ? value : "");
    };
    TestSmtp smtp{std::atoi(read("KORVEL_TEST_SMTP_STARTTLS_PORT").c_str()),
                  std::atoi(read("KORVEL_TEST_SMTPS_PORT").c_str()),
                  std::atoi(read("KORVEL_TEST_SMTP_PLAIN_PORT").c_str()), read("KORVEL_TEST_SMTP_CA"),
                  read("KORVEL_TEST_SMTP_MAILDIR")};
    if (smtp.startTlsPort == 0 || smtp.tlsPort == 0 || smtp.plainPort == 0 || smtp.caFile.empty() ||
        smtp.mailDir.empty())
        return std::nullopt;
    return smtp;
}

bool ServersRequired()
{
    const char* required = std::getenv("KORVEL_REQUIRE_SERVERS");
    return required != nullptr && std::string_view(required) == "1";
}

}  // namespace korvel::test
