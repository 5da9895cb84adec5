#include "alerts/SmtpServer.h"

#include "alerts/WebhookAddress.h"
#include "text/Text.h"

namespace korvel::alerts {

std::optional<SmtpServer> ParseSmtpServer(std::string_view text, std::string& problem)
{
    const std::size_t schemeEnd = text.find("://");
    const std::string scheme = ToLowerAscii(text.substr(0, schemeEnd));
    if (schemeEnd == std::string_view::npos || (scheme != "smtp" && scheme != "smtps")) {
        problem = "邮件服务器地址必须以 smtp:// 或 smtps:// 开头";
        return std::nullopt;
    }
    // The authority rules are those of a web address: the same parser reads it.
    std::string rest(text.substr(schemeEnd + 3));
    while (rest.ends_with('/'))
        rest.pop_back();
    const auto address = ParseWebhookAddress("https://" + rest, problem);
    if (!address || address->target != "/") {
        problem = "邮件服务器地址只能含主机名和端口";
        return std::nullopt;
    }
    SmtpServer server;
    const bool implicit = scheme == "smtps";
    const std::size_t colon = rest.rfind(':');
    const std::size_t bracket = rest.rfind(']');
    const bool portGiven = colon != std::string::npos && (bracket == std::string::npos || colon > bracket);
    const int port = portGiven ? address->port : (implicit ? 465 : 587);
    server.host = address->host;
    server.url = scheme + "://" + address->host + ":" + std::to_string(port);
    server.security = implicit ? MailSecurity::ImplicitTls
                               : (IsLoopback(address->host) ? MailSecurity::Loopback : MailSecurity::StartTlsNeeded);
    return server;
}

}  // namespace korvel::alerts
