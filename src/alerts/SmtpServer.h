#pragma once

// The mail server an e-mail channel names, and how its connection must be protected.

#include <optional>
#include <string>
#include <string_view>

namespace korvel::alerts {

enum class MailSecurity {
    ImplicitTls,     // smtps://: TLS from the first byte
    StartTlsNeeded,  // smtp://: STARTTLS or nothing is sent
    Loopback,        // smtp://127.0.0.1: STARTTLS when offered, plain otherwise
};

struct SmtpServer {
    std::string url;   // "smtp://host:port" or "smtps://host:port", as libcurl takes it
    std::string host;  // for causes
    MailSecurity security = MailSecurity::StartTlsNeeded;
};

// Nothing, with `problem` (UTF-8) saying why, for anything but smtp:// or smtps:// with a host and
// an optional port.
std::optional<SmtpServer> ParseSmtpServer(std::string_view text, std::string& problem);

}  // namespace korvel::alerts
