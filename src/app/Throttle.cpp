#include "app/Throttle.h"

namespace korvel {

Throttle::Throttle(int intervalMs, std::function<void()> update, QObject* parent)
    : QObject(parent), intervalMs_(intervalMs), update_(std::move(update))
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Throttle::run);
}

void Throttle::poke()
{
    owed_ = true;
    if (!sinceRun_.isValid() || sinceRun_.elapsed() >= intervalMs_) {
        run();
    } else if (!timer_.isActive()) {
        timer_.start(intervalMs_ - static_cast<int>(sinceRun_.elapsed()));
    }
}

void Throttle::flush()
{
    if (owed_) {
        run();
    }
}

void Throttle::run()
{
    timer_.stop();
    sinceRun_.restart();
    owed_ = false;
    update_();
}

}  // namespace korvel
