#include "alerts/EmailChannel.h"

#include <algorithm>

#include "alerts/MailText.h"
#include "alerts/SmtpSend.h"
#include "text/Gbk.h"

namespace korvel::alerts {

EmailChannel::EmailChannel(EmailSettings settings)
    : settings_(std::move(settings)), problem_(), server_(ParseSmtpServer(settings_.server, problem_))
{
}

Delivery EmailChannel::refused(const std::string& problem) const
{
    Delivery delivery{Outcome::Failed, {}, {}, 0};
    delivery.cause.channel = ChannelKind::Email;
    delivery.cause.host = server_ ? server_->host : "";
    delivery.cause.kind = FailureKind::Settings;
    delivery.cause.detail = gbk::FromUtf8(problem);
    return delivery;
}

Delivery EmailChannel::send(const AlertMessage& message, Cancellation& cancel)
{
    if (!server_)
        return refused(problem_);
    if (!IsMailAddress(settings_.from))
        return refused("发件人地址无效");
    if (settings_.to.empty() || !std::all_of(settings_.to.begin(), settings_.to.end(), IsMailAddress))
        return refused("收件人地址为空或无效");
    DeliveryCause who;
    who.channel = ChannelKind::Email;
    who.host = server_->host;
    const std::string mail = MailText(message, settings_.from, settings_.to, std::chrono::system_clock::now());
    return SendMail(*server_, {settings_.user, settings_.password}, {settings_.from, settings_.to}, mail, who, cancel);
}

}  // namespace korvel::alerts
