#pragma once

// The synchronous call into the window that worker threads make instead of touching a widget.
// Called on the window's own thread it runs at once (a blocking queued call there would wait for
// itself forever). Once the window is closing it gives up instead of waiting for a loop that will
// not run again.

#include <QObject>
#include <atomic>
#include <functional>

namespace korvel {

class UiBridge : public QObject {
public:
    explicit UiBridge(QObject* parent = nullptr) : QObject(parent) {}

    // True when `work` ran on the window's thread; false when the window was closing or went away
    // first, and `work` did not run.
    bool call(const std::function<void()>& work);

    // From now on call() gives up.
    void close() { closing_ = true; }
    bool closing() const { return closing_; }

private:
    std::atomic<bool> closing_{false};
};

}  // namespace korvel
