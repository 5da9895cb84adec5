#pragma once

#include "alerts/ChannelSettings.h"
#include "alerts/JsonEndpoint.h"

namespace korvel::alerts {

// Posts {"msgtype":"markdown"|"text",…}; a signing robot gets timestamp (milliseconds) and sign
// (base64 of HMAC-SHA256 keyed with the secret over "timestamp\nsecret", URL-encoded) in the
// query. The robot answers errcode 0 when it posted.
class DingTalkChannel final : public Channel {
public:
    explicit DingTalkChannel(DingTalkSettings settings);

    ChannelKind kind() const override { return ChannelKind::DingTalk; }
    MessageLayout layout() const override { return {settings_.rendering, settings_.limitBytes}; }
    Delivery send(const AlertMessage& message, Cancellation& cancel) override;

private:
    DingTalkSettings settings_;
    JsonEndpoint endpoint_;
};

}  // namespace korvel::alerts
