#include "app/MonitorReader.h"

#include "app/UiBridge.h"

namespace korvel {

MonitorReader::~MonitorReader()
{
    for (std::thread& thread : threads_)
        thread.join();
}

unsigned MonitorReader::nextTicket(int slot)
{
    std::lock_guard lock(mutex_);
    if (tickets_.size() <= size_t(slot))
        tickets_.resize(size_t(slot) + 1);
    return ++tickets_[size_t(slot)];
}

void MonitorReader::start(std::function<void()> work)
{
    threads_.emplace_back(std::move(work));
}

void MonitorReader::deliver(int slot, unsigned ticket, std::function<void()> show)
{
    bridge_.post([this, slot, ticket, show = std::move(show)] {
        {
            std::lock_guard lock(mutex_);
            if (tickets_[size_t(slot)] != ticket)
                return;
        }
        show();
    });
}

}  // namespace korvel
