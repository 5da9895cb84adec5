#pragma once

#include "alerts/ChannelSettings.h"
#include "alerts/JsonEndpoint.h"

namespace korvel::alerts {

// Posts {"msgtype":"markdown","markdown":{"content":…}} to the robot's key address; the robot
// answers errcode 0 when it posted.
class WeComChannel final : public Channel {
public:
    explicit WeComChannel(WeComSettings settings);

    // The robot refuses markdown content over 4096 bytes.
    static constexpr std::size_t LimitBytes = 4096;

    ChannelKind kind() const override { return ChannelKind::WeCom; }
    MessageLayout layout() const override { return {Rendering::Markdown, LimitBytes}; }
    Delivery send(const AlertMessage& message, Cancellation& cancel) override;

private:
    WeComSettings settings_;
    JsonEndpoint endpoint_;
};

}  // namespace korvel::alerts
