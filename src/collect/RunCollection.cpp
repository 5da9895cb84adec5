#include "collect/RunCollection.h"

#include <vector>

#include "collect/CauseTexts.h"
#include "collect/FailureCause.h"
#include "collect/ItemLayout.h"
#include "collect/LossReport.h"
#include "collect/ResultPages.h"

namespace korvel {

namespace {

Product ProductOf(CollectedItem item, int page, int position)
{
    return {std::move(item.productId),   std::move(item.imageAddress), std::move(item.title),
            std::move(item.salePrice),   std::move(item.marketPrice),  std::move(item.soldCount),
            std::move(item.reviewText), page,                          position};
}

// One run from the first page's products on.
class PageRun {
public:
    PageRun(const CollectionSettingsSource& inputs, CollectionObserver& observer, Cancellation& cancel,
            const FetchPolicy& policy, const ShopPages& pages, CollectionRun& run)
        : inputs_(inputs),
          observer_(observer),
          cancel_(cancel),
          policy_(policy),
          pages_(pages),
          run_(run),
          layout_(ChooseItemLayout(pages.family, pages.itemArea))
    {
    }

    void run()
    {
        std::vector<Match> matches = FindAllMatches(layout_.pattern, pages_.itemArea);
        // A page 1 that failed without products ends the run as one without page information:
        // its paging is not shown, so the count never contradicts the message.
        if (!matches.empty() || !pages_.firstFetch.failed())
            observer_.pageCountRead(run_.pageCount);
        if (matches.empty()) {
            // A page 1 that failed part-way has its paging but lost its products with the failure.
            const bool failed = pages_.firstFetch.failed();
            run_.end = RunEnd::Failed;
            run_.failure = failed ? RunFailure::NoPageInfo : RunFailure::NoProducts;
            run_.failureCause = failed ? CauseWithRetries(pages_.firstFetch) : cause_text::NoItemsOnFirstPage;
            return;
        }
        observer_.listingStarted();
        for (int page = 1; page <= pages_.pageCount; ++page) {
            observer_.pageStarted(page, pages_.pageCount);
            if (page == 1)
                noteLoss(1, pages_.firstFetch, matches);
            else if (!laterPage(page, matches))
                return;
            hand(page, matches);
            if (page < pages_.pageCount && losses_.shouldStop()) {
                losses_.stopBefore(pages_.pageCount);
                break;
            }
        }
        run_.lossLines = losses_.lines();
        run_.end = losses_.empty() ? RunEnd::Complete : RunEnd::Incomplete;
    }

private:
    // Later pages read the address and the item-area markers as they stand now, so edits made
    // during a run count from the next page on. False once the run is cancelled.
    bool laterPage(int page, std::vector<Match>& matches)
    {
        const CollectionInputs now = inputs_.current();
        const PageRequest request = ResultPageRequest(pages_.family, now.address, pages_.tmallQuery, page);
        FetchedPage fetched;
        if (cancel_.sleepFor(policy_.pageDelay))
            fetched = FetchPage(request, policy_, cancel_);
        if (cancel_.cancelled())
            return false;
        const std::string area =
            ItemAreaOf(pages_.family, fetched.text, now.settings.itemAreaStart, now.settings.itemAreaEnd);
        matches = FindAllMatches(layout_.pattern, area);
        noteLoss(page, fetched, matches);
        return true;
    }

    void noteLoss(int page, const FetchedPage& fetched, const std::vector<Match>& matches)
    {
        if (std::optional<LostPage> lost = losses_.record(page, fetched, static_cast<int>(matches.size()))) {
            run_.lostPages.push_back(*lost);
            observer_.pageLost(*lost);
        }
    }

    void hand(int page, const std::vector<Match>& matches)
    {
        if (matches.empty())
            return;
        std::vector<Product> products;
        products.reserve(matches.size());
        for (const Match& match : matches)
            products.push_back(ProductOf(ItemFromMatch(match, layout_), page, ++total_));
        ++run_.pagesCollected;
        run_.productCount = total_;
        observer_.productsFound(run_.products.append(std::move(products)));
    }

    const CollectionSettingsSource& inputs_;
    CollectionObserver& observer_;
    Cancellation& cancel_;
    const FetchPolicy& policy_;
    const ShopPages& pages_;
    CollectionRun& run_;
    const ItemLayout layout_;
    LossReport losses_;
    int total_ = 0;
};

void Discover(const CollectionSettingsSource& inputs, CollectionObserver& observer, Cancellation& cancel,
              const FetchPolicy& policy, CollectionRun& run)
{
    const CollectionInputs start = inputs.current();
    run.shopHost = ShopKey(start.address);
    const PageSource fetch = [&](const PageRequest& request) -> std::optional<FetchedPage> {
        FetchedPage fetched = FetchPage(request, policy, cancel);
        if (cancel.cancelled())
            return std::nullopt;
        return fetched;
    };
    const auto discovered = DiscoverPages(
        start.address, start.settings,
        [&](int shown) { run.pageCount = shown; },
        fetch);
    if (std::holds_alternative<Abandoned>(discovered))
        return;
    if (const auto* failure = std::get_if<CollectionFailure>(&discovered)) {
        run.end = RunEnd::Failed;
        run.failure = failure->failure;
        run.failureCause = failure->cause;
        return;
    }
    const ShopPages& pages = std::get<ShopPages>(discovered);
    run.family = pages.family;
    PageRun(inputs, observer, cancel, policy, pages, run).run();
}

}  // namespace

CollectionRun RunCollection(const CollectionSettingsSource& inputs, CollectionObserver& observer,
                            Cancellation& cancel, const FetchPolicy& policy)
{
    CollectionRun run;
    run.started = std::chrono::system_clock::now();
    Discover(inputs, observer, cancel, policy, run);
    if (cancel.cancelled())
        run.end = RunEnd::Interrupted;
    run.ended = std::chrono::system_clock::now();
    observer.finished(run);
    return run;
}

}  // namespace korvel
