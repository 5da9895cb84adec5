#pragma once

// The one message per shop run and channel.

#include <chrono>

#include "alerts/AlertMessage.h"
#include "store/HistoryReading.h"

namespace korvel::alerts {

// A heading (the shop, when the run ended at `utcOffset`, the runs compared), then the changes
// kind by kind, biggest first (alerts/ChangeOrder.h). A text longer than the layout's limit keeps
// as many whole lines as fit with a last line "另有 N 项变化", N the changes left out.
AlertMessage ComposeAlert(const ChangeReport& report, const MessageLayout& layout, std::chrono::minutes utcOffset);

// A fixed short message that says the channel works; each has a new delivery ID, so that a
// receiver that drops repeats still shows the second test.
AlertMessage TestAlert(const MessageLayout& layout);

}  // namespace korvel::alerts
