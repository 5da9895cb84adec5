#pragma once

// One place alerts go. Channels are made from their settings (alerts/ChannelSettings.h) and may
// be kept or made anew for each alert; a robot's pace is kept per address either way.

#include "alerts/AlertMessage.h"
#include "alerts/ComposeAlert.h"
#include "alerts/Delivery.h"
#include "base/Cancellation.h"

namespace korvel::alerts {

class Channel {
public:
    virtual ~Channel() = default;

    virtual ChannelKind kind() const = 0;
    // How messages for this channel are composed (ComposeAlert).
    virtual MessageLayout layout() const = 0;
    // Sends a message composed for this channel's layout. Every wait on the server is bounded
    // (the HTTP settings' timeouts, the retry policy) and ends early when `cancel` is cancelled.
    virtual Delivery send(const AlertMessage& message, Cancellation& cancel) = 0;

    // What the settings page's "send a test message" sends.
    Delivery sendTest(Cancellation& cancel) { return send(TestAlert(layout()), cancel); }
};

}  // namespace korvel::alerts
