#pragma once

#include "alerts/ChannelSettings.h"
#include "alerts/SmtpServer.h"

namespace korvel::alerts {

// Mails the alert's title as the subject and its text as the body to every recipient at once.
class EmailChannel final : public Channel {
public:
    explicit EmailChannel(EmailSettings settings);

    // Far more than any report needs; a mail server takes much more.
    static constexpr std::size_t LimitBytes = 256 * 1024;

    ChannelKind kind() const override { return ChannelKind::Email; }
    MessageLayout layout() const override { return {Rendering::Plain, LimitBytes}; }
    Delivery send(const AlertMessage& message, Cancellation& cancel) override;

private:
    Delivery refused(const std::string& problem) const;

    EmailSettings settings_;
    std::string problem_;  // before server_, which the parse that fills it makes
    std::optional<SmtpServer> server_;
};

}  // namespace korvel::alerts
