#pragma once

// The monitor tab's reads of the shop history, each on a thread of its own so the window never
// waits for the file (another program may hold it for up to the busy timeout). A result reaches
// the window through its bridge; only the newest request of each kind is shown. The threads are
// joined when the reader goes, before the window's bridge does.

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "store/History.h"

namespace korvel {

class UiBridge;

class MonitorReader {
public:
    MonitorReader(UiBridge& bridge, std::string path) : bridge_(bridge), path_(std::move(path)) {}
    ~MonitorReader();
    MonitorReader(const MonitorReader&) = delete;
    MonitorReader& operator=(const MonitorReader&) = delete;

    // Runs `read` on the history off the window's thread, then `show` on the window's thread with
    // what it returned (or the error), unless a newer read of the same `slot` was asked for since.
    template <typename T>
    void read(int slot, std::function<StoreResult<T>(History&)> read, std::function<void(const StoreResult<T>&)> show)
    {
        const unsigned ticket = nextTicket(slot);
        start([this, slot, ticket, read = std::move(read), show = std::move(show)] {
            auto history = History::Open(path_);
            auto result = std::make_shared<StoreResult<T>>(history.ok() ? read(*history.value()) : history.error());
            deliver(slot, ticket, [result, show] { show(*result); });
        });
    }

private:
    unsigned nextTicket(int slot);
    void start(std::function<void()> work);
    void deliver(int slot, unsigned ticket, std::function<void()> show);

    UiBridge& bridge_;
    const std::string path_;
    std::mutex mutex_;
    std::vector<unsigned> tickets_;
    std::vector<std::thread> threads_;
};

}  // namespace korvel
