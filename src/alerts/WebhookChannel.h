#pragma once

#include "alerts/ChannelSettings.h"
#include "alerts/JsonEndpoint.h"

namespace korvel::alerts {

// Posts the alert as data to a receiver of the operator's own: the body, the headers and the
// signature are described in README.md ("Alerts to a webhook"). Any 2xx answer is delivered; a 429
// is waited for as its Retry-After asks, within the retry policy.
class WebhookChannel final : public Channel {
public:
    explicit WebhookChannel(WebhookSettings settings);

    ChannelKind kind() const override { return ChannelKind::Webhook; }
    MessageLayout layout() const override { return {Rendering::Plain, settings_.limitBytes}; }
    Delivery send(const AlertMessage& message, Cancellation& cancel) override;

private:
    WebhookSettings settings_;
    JsonEndpoint endpoint_;
};

// {"event","delivery","shop","run_before","run_after","ended","total","title","text","changes"}:
// the changes as objects with the keys of the change export's JSON Lines.
std::string WebhookBody(const AlertMessage& message);

}  // namespace korvel::alerts
