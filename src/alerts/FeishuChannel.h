#pragma once

#include "alerts/ChannelSettings.h"
#include "alerts/JsonEndpoint.h"

namespace korvel::alerts {

// Posts {"msg_type":"text"|"post",…}; a signing bot gets "timestamp" (seconds) and "sign" in the
// body: base64 of HMAC-SHA256 keyed with "timestamp\nsecret" over an empty message. The bot
// answers code 0 when it posted.
class FeishuChannel final : public Channel {
public:
    explicit FeishuChannel(FeishuSettings settings);

    ChannelKind kind() const override { return ChannelKind::Feishu; }
    MessageLayout layout() const override { return {Rendering::Plain, settings_.limitBytes}; }
    Delivery send(const AlertMessage& message, Cancellation& cancel) override;

private:
    FeishuSettings settings_;
    JsonEndpoint endpoint_;
};

}  // namespace korvel::alerts
