#pragma once

namespace korvel {

// What the client knows of a transfer beyond libcurl's result code.
struct TransferNotes {
    bool bodyTooLarge = false;
    bool redirectRefused = false;
};

}  // namespace korvel
