#pragma once

// One message to a mail server over libcurl, bounded by the HTTP settings' timeouts (the same
// connect, idle and total limits, the same extra CA and host routes) and ended at once by the
// cancellation.

#include <string>
#include <vector>

#include "alerts/Delivery.h"
#include "alerts/SmtpServer.h"
#include "base/Cancellation.h"

namespace korvel::alerts {

struct MailLogin {
    std::string user;  // empty: no login
    std::string password;
};

struct MailEnvelope {
    std::string from;
    std::vector<std::string> to;
};

// `who` names the channel and host of the result's cause.
Delivery SendMail(const SmtpServer& server, const MailLogin& login, const MailEnvelope& envelope,
                  const std::string& mail, const DeliveryCause& who, Cancellation& cancel);

}  // namespace korvel::alerts
