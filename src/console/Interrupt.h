#pragma once

// Ctrl+C for a console run: the signal is taken by a thread of its own, which cancels the run's
// requests at once instead of killing the process half-way through writing a file.

#include <atomic>

#include "base/Cancellation.h"

namespace korvel::console {

class InterruptWatch {
public:
    // Blocks SIGINT in this thread and every thread started after it: call before any other thread.
    InterruptWatch();
    // From now on SIGINT cancels `cancel`.
    void watch(Cancellation& cancel);
    bool interrupted() const { return interrupted_; }

private:
    std::atomic<bool> interrupted_{false};
};

}  // namespace korvel::console
