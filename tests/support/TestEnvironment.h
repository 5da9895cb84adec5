#pragma once

// The KORVEL_* variables scripts/test sets for the test suites (README.md lists every variable).

#include <optional>
#include <string>

namespace korvel::test {

// KORVEL_TEST_MYSQL_PORT: the throwaway MariaDB's port, when one runs.
std::optional<int> TestMysqlPort();
// KORVEL_TEST_MYSQL_SOCKET: the same server's socket; empty when not known.
std::string TestMysqlSocket();
// The throwaway SMTP server of scripts/lib/smtp.sh, when one runs.
struct TestSmtp {
    int startTlsPort = 0;  // KORVEL_TEST_SMTP_STARTTLS_PORT: STARTTLS required, login korvel / pw-ok
    int tlsPort = 0;       // KORVEL_TEST_SMTPS_PORT: implicit TLS
    int plainPort = 0;     // KORVEL_TEST_SMTP_PLAIN_PORT: no STARTTLS offered
    std::string caFile;    // KORVEL_TEST_SMTP_CA
    std::string mailDir;   // KORVEL_TEST_SMTP_MAILDIR: each message as NAME.eml and, parsed, NAME.json
};
std::optional<TestSmtp> TestSmtpServer();
// KORVEL_REQUIRE_SERVERS=1: the run demands its servers, so a missing one fails a test instead of
// skipping it.
bool ServersRequired();

}  // namespace korvel::test
