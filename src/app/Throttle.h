#pragma once

// Runs an update at most once per interval: the first poke after a quiet interval runs it at once,
// later pokes leave it to a timer that fires when the window next processes its events. A run that
// reports every product through the window stays fast because the window repaints per interval,
// not per product.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

namespace korvel {

class Throttle : public QObject {
public:
    Throttle(int intervalMs, std::function<void()> update, QObject* parent = nullptr);

    void poke();
    // Runs the update now when one is owed.
    void flush();

private:
    void run();

    int intervalMs_;
    std::function<void()> update_;
    QTimer timer_;
    QElapsedTimer sinceRun_;
    bool owed_ = false;
};

}  // namespace korvel
