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

bool ServersRequired()
{
    const char* required = std::getenv("KORVEL_REQUIRE_SERVERS");
    return required != nullptr && std::string_view(required) == "1";
}

}  // namespace korvel::test
