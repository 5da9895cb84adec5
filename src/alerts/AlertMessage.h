#pragma once

// One alert as a channel sends it: the texts are UTF-8, already rendered for the channel and cut
// to its size, because they are the payload itself; the rows stay whole for the receivers that
// read changes as data.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "export/ChangeExport.h"

namespace korvel::alerts {

enum class Rendering { Plain, Markdown };

// What a channel asks of a message: how it is written and the most bytes its text may hold.
struct MessageLayout {
    Rendering rendering = Rendering::Plain;
    std::size_t limitBytes = 4096;
};

struct AlertMessage {
    std::string shop;  // the shop's host
    std::int64_t runBefore = 0;
    std::int64_t runAfter = 0;
    std::chrono::system_clock::time_point ended;  // when the later run ended
    // The same for every composition of the same comparison, so a receiver that gets an alert
    // twice (a retry, a second channel to the same place) can tell; a test message gets a new one.
    std::string deliveryId;
    std::string title;  // one line, no markup: a chat's preview, an e-mail's subject
    std::string text;   // the whole message as the layout asked, at most its limit in bytes
    std::vector<ChangeRow> changes;  // every change, none left out
    bool test = false;               // the fixed message of "send a test message"
};

}  // namespace korvel::alerts
