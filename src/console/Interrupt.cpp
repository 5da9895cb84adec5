#include "Interrupt.h"

#include <csignal>
#include <mutex>
#include <thread>

namespace korvel::console {

struct InterruptWatch::State {
    std::mutex mutex;
    bool interrupted = false;
    Cancellation* watched = nullptr;
};

namespace {

sigset_t InterruptSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

}  // namespace

InterruptWatch::InterruptWatch() : state_(std::make_shared<State>())
{
    const sigset_t set = InterruptSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    // Never joined: it waits for a signal until the process ends, and holds the state itself.
    std::thread([state = state_] {
        const sigset_t signals = InterruptSet();
        int signal = 0;
        while (sigwait(&signals, &signal) == 0) {
            const std::lock_guard lock(state->mutex);
            state->interrupted = true;
            if (state->watched)
                state->watched->cancel();
        }
    }).detach();
}

InterruptWatch::Watching InterruptWatch::watch(Cancellation& cancel)
{
    const std::lock_guard lock(state_->mutex);
    state_->watched = &cancel;
    if (state_->interrupted)
        cancel.cancel();
    return Watching(state_);
}

InterruptWatch::Watching::~Watching()
{
    const std::lock_guard lock(state_->mutex);
    state_->watched = nullptr;
}

bool InterruptWatch::interrupted() const
{
    const std::lock_guard lock(state_->mutex);
    return state_->interrupted;
}

}  // namespace korvel::console
