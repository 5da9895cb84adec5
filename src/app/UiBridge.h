#pragma once

// How a job hands work to the window: queued for the window's thread, never waited for. Once the
// window is closing nothing more runs, whether it was queued before or after.

#include <QObject>
#include <atomic>
#include <functional>

namespace korvel {

class UiBridge : public QObject {
public:
    explicit UiBridge(QObject* parent = nullptr) : QObject(parent) {}

    // Any thread; returns at once.
    void post(std::function<void()> work);

    // From now on nothing posted runs.
    void close() { closing_ = true; }
    bool closing() const { return closing_; }

private:
    std::atomic<bool> closing_{false};
};

}  // namespace korvel
