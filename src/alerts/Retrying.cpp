#include "alerts/Retrying.h"

namespace korvel::alerts {
namespace {

Delivery Cancelled(const DeliveryCause& who, int attempts)
{
    Delivery delivery{Outcome::Failed, who, {}, attempts};
    delivery.cause.kind = FailureKind::Cancelled;
    return delivery;
}

}  // namespace

Delivery DeliverWithRetries(const std::function<Delivery()>& attempt, Pacer* pacer, const RetryPolicy& policy,
                            const DeliveryCause& who, Cancellation& cancel)
{
    for (int attempts = 1;; ++attempts) {
        const Pacer::Booking turn = pacer ? pacer->reserve(Pacer::Clock::now()) : Pacer::Booking{};
        if (cancel.cancelled() || (turn.wait.count() > 0 && !cancel.sleepFor(turn.wait)))
            return Cancelled(who, attempts - 1);
        Delivery delivery = attempt();
        delivery.attempts = attempts;
        if (pacer)
            pacer->answered(turn.turn, Pacer::Clock::now());
        if (delivery.outcome != Outcome::RateLimited || attempts > policy.retries || delivery.wait > policy.longestWait)
            return delivery;
        if (!cancel.sleepFor(delivery.wait))
            return Cancelled(who, attempts);
    }
}

}  // namespace korvel::alerts
