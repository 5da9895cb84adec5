#include "Interrupt.h"

#include <csignal>
#include <thread>

namespace korvel::console {
namespace {

sigset_t InterruptSet()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    return set;
}

}  // namespace

InterruptWatch::InterruptWatch()
{
    const sigset_t set = InterruptSet();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void InterruptWatch::watch(Cancellation& cancel)
{
    // Never joined: it waits for a signal until the process ends.
    std::thread([this, &cancel] {
        const sigset_t set = InterruptSet();
        int signal = 0;
        while (sigwait(&set, &signal) == 0 && signal != SIGINT) {
        }
        interrupted_ = true;
        cancel.cancel();
    }).detach();
}

}  // namespace korvel::console
