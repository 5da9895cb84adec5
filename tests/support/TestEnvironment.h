#pragma once

// The KORVEL_* variables scripts/test sets for the test suites (README.md lists every variable).

#include <optional>
#include <string>

namespace korvel::test {

// KORVEL_TEST_MYSQL_PORT: the throwaway MariaDB's port, when one runs.
std::optional<int> TestMysqlPort();
// KORVEL_TEST_MYSQL_SOCKET: the same server's socket; empty when not known.
std::string TestMysqlSocket();
// KORVEL_REQUIRE_SERVERS=1: the run demands its servers, so a missing one fails a test instead of
// skipping it.
bool ServersRequired();

}  // namespace korvel::test
