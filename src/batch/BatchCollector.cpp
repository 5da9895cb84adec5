#include "batch/BatchCollector.h"

#include "collect/RunCollection.h"

namespace korvel::batch {
namespace {

// Tells of the run's pages.
class ShopObserver : public CollectionObserver {
public:
    explicit ShopObserver(const std::function<void(int, int)>& page) : page_(page) {}
    void pageStarted(int page, int pageCount) override { page_(page, pageCount); }

private:
    const std::function<void(int, int)>& page_;
};

}  // namespace

CollectedShop BatchCollector::collect(const std::string& host)
{
    // The batch's stop ends this shop's own cancellation, which the run's requests watch.
    Cancellation cancel;
    stop_.attach([](void* run) { static_cast<Cancellation*>(run)->cancel(); }, &cancel);
    CollectedShop shop = collect(host, cancel);
    stop_.detach(&cancel);
    return shop;
}

CollectedShop BatchCollector::collect(const std::string& host, Cancellation& cancel)
{
    CollectedShop shop;
    shop.run.shopHost = host;
    if (stop_.cancelled())
        return shop;
    ShopObserver observer(page_);
    // Every request, whichever shop or retry makes it, waits for the batch's pace.
    shop.run = RunCollection(FixedInputs({host}), observer, cancel, policy_);
    shop.blocked = IsBlockedRun(shop.run);
    shop.sessionExpired = policy_.session != nullptr && IsSessionExpiredRun(shop.run);
    shop.unreachable = IsUnreachableRun(shop.run);
    return shop;
}

}  // namespace korvel::batch
