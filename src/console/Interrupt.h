#pragma once

// Ctrl+C for a console run, and SIGTERM as a scheduler (Slurm, Kubernetes) stops a task: the
// signal is taken by a thread of its own, which cancels the run's requests at once instead of
// killing the process half-way through writing a file. Both end the run as interrupted (130).

#include <memory>
#include <utility>

#include "base/Cancellation.h"

namespace korvel::console {

class InterruptWatch {
    struct State;

public:
    // Blocks SIGINT and SIGTERM in this thread and every thread started after it, and starts the
    // thread that waits for them: construct before any other thread.
    InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    // While it lives, SIGINT or SIGTERM cancels the Cancellation given to watch(); a signal that
    // came before cancels it at once. It must end before that Cancellation does: the signal's
    // thread never touches a Cancellation whose watch has ended.
    class [[nodiscard]] Watching {
    public:
        Watching(const Watching&) = delete;
        Watching& operator=(const Watching&) = delete;
        ~Watching();

    private:
        friend class InterruptWatch;
        explicit Watching(std::shared_ptr<State> state) : state_(std::move(state)) {}
        std::shared_ptr<State> state_;
    };
    Watching watch(Cancellation& cancel);

    bool interrupted() const;

private:
    // Shared with the signal's thread, which outlives this object.
    std::shared_ptr<State> state_;
};

}  // namespace korvel::console
