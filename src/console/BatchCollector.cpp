#include "BatchCollector.h"

#include <algorithm>

#include "collect/RunCollection.h"

namespace korvel::console {

batch::CollectedShop BatchCollector::collect(const std::string& host)
{
    batch::CollectedShop shop;
    shop.run.shopHost = host;
    shop.run.family = ClassifyShopAddress(host).value_or(ShopFamily::Taobao);
    QuietScreen screen(host, page_);
    Cancellation& cancel = screen.cancellation();
    stop_.attach([](void* run) { static_cast<Cancellation*>(run)->cancel(); }, &cancel);
    const batch::CollectedShop collected = collect(shop, screen);
    stop_.detach(&cancel);
    return collected;
}

batch::CollectedShop BatchCollector::collect(batch::CollectedShop shop, QuietScreen& screen)
{
    // Between shops the batch's pace holds; between a shop's pages its page delay does.
    if (stop_.cancelled() || !pace_.awaitTurn(screen.cancellation()))
        return shop;
    shop.run.started = std::chrono::system_clock::now();
    const RunOutcome outcome = RunCollection(screen, policy_);
    pace_.requestEnded();
    shop.run.ended = std::chrono::system_clock::now();
    if (outcome == RunOutcome::Abandoned || stop_.cancelled())
        return shop;
    shop.run.products = screen.products();
    shop.run.pageCount = outcome == RunOutcome::Failed ? 0 : std::max(screen.pages(), 1);
    shop.run.pagesCollected = shop.run.pageCount;
    if (outcome == RunOutcome::Failed) {
        shop.run.end = RunEnd::Failed;
        shop.run.failureCause = screen.message();
    } else if (outcome == RunOutcome::CollectedWithLosses) {
        shop.run.end = RunEnd::Incomplete;
        shop.run.lostPages.push_back({0, screen.message()});
    } else {
        shop.run.end = RunEnd::Complete;
    }
    return shop;
}

}  // namespace korvel::console
