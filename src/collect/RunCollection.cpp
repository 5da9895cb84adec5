#include "collect/RunCollection.h"

#include <vector>

#include "collect/CauseTexts.h"
#include "collect/DiscoverPages.h"
#include "collect/ItemLayout.h"
#include "collect/LossReport.h"
#include "collect/Messages.h"
#include "collect/ResultPages.h"
#include "text/Text.h"

namespace korvel {

namespace {

CollectionSettings ReadSettings(CollectionScreen& screen)
{
    return {screen.itemAreaStart(), screen.itemAreaEnd(), screen.tmallQueryStart(), screen.tmallQueryEnd()};
}

void WriteRow(CollectionScreen& screen, int total, const CollectedItem& item)
{
    screen.appendRow();
    const int row = total - 1;
    screen.setCell(row, 0, IntToText(total));
    const std::string* fields[] = {&item.productId,   &item.imageAddress, &item.title,     &item.salePrice,
                                   &item.marketPrice, &item.soldCount,    &item.reviewText};
    for (int column = 1; column <= 7; ++column)
        screen.setCell(row, column, *fields[column - 1]);
}

RunOutcome Fail(CollectionScreen& screen, const CollectionFailure& failure)
{
    screen.setStartButton(collect_text::ButtonIdle, true);
    screen.showMessage(failure.message, failure.title);
    return RunOutcome::Failed;
}

// One run from the first page's products on.
class PageRun {
public:
    PageRun(CollectionScreen& screen, const FetchPolicy& policy, const ShopPages& pages)
        : screen_(screen), policy_(policy), pages_(pages), layout_(ChooseItemLayout(pages.family, pages.itemArea))
    {
    }

    RunOutcome run()
    {
        std::vector<Match> matches = FindAllMatches(layout_.pattern, pages_.itemArea);
        if (matches.empty())
            return Fail(screen_, {WithCause(collect_text::NoProducts, cause_text::NoItemsOnFirstPage),
                                  collect_text::NoProductsTitle});
        screen_.clearRows();
        for (int page = 1; page <= pages_.pageCount; ++page) {
            screen_.pageStarted(page, pages_.pageCount);
            if (page > 1 && !laterPage(page, matches))
                return RunOutcome::Abandoned;
            if (!writeRows(matches))
                return RunOutcome::Abandoned;
            if (page < pages_.pageCount && losses_.shouldStop()) {
                losses_.stopBefore(pages_.pageCount);
                break;
            }
        }
        return finish();
    }

private:
    // Later pages read the address and the item-area markers as they stand now, so edits made
    // during a run count from the next page on.
    bool laterPage(int page, std::vector<Match>& matches)
    {
        const PageRequest request =
            ResultPageRequest(pages_.family, screen_.shopAddress(), pages_.tmallQuery, page);
        FetchedPage fetched;
        Cancellation& cancel = screen_.cancellation();
        const bool open = screen_.await([&] {
            if (cancel.sleepFor(policy_.pageDelay))
                fetched = FetchPage(request, policy_, cancel);
        });
        if (!open)
            return false;
        const std::string text = fetched.failed() ? std::string() : fetched.text;
        const std::string area = ItemAreaOf(pages_.family, text, screen_.itemAreaStart(), screen_.itemAreaEnd());
        matches = FindAllMatches(layout_.pattern, area);
        losses_.record(page, fetched, static_cast<int>(matches.size()));
        return true;
    }

    bool writeRows(const std::vector<Match>& matches)
    {
        for (const Match& match : matches) {
            if (!screen_.processEvents())
                return false;
            ++total_;
            screen_.setTotalLabel(collect_text::ProgressPrefix + IntToText(total_));
            WriteRow(screen_, total_, ItemFromMatch(match, layout_));
        }
        return true;
    }

    RunOutcome finish()
    {
        screen_.setTotalLabel(collect_text::TotalPrefix + IntToText(total_));
        screen_.setStartButton(collect_text::ButtonIdle, true);
        const std::string message = collect_text::CollectedPrefix + IntToText(total_) + collect_text::CollectedSuffix;
        screen_.showMessage(WithCause(message, losses_.lines()), collect_text::CollectedTitle);
        return losses_.empty() ? RunOutcome::Collected : RunOutcome::CollectedWithLosses;
    }

    CollectionScreen& screen_;
    const FetchPolicy& policy_;
    const ShopPages& pages_;
    const ItemLayout layout_;
    LossReport losses_;
    int total_ = 0;
};

}  // namespace

RunOutcome RunCollection(CollectionScreen& screen, const FetchPolicy& policy)
{
    screen.setStartButton(collect_text::ButtonRunning, false);
    const PageSource fetch = [&screen, &policy](const PageRequest& request) -> std::optional<FetchedPage> {
        FetchedPage fetched;
        if (!screen.await([&] { fetched = FetchPage(request, policy, screen.cancellation()); }))
            return std::nullopt;
        return fetched;
    };
    const auto discovered =
        DiscoverPages(screen.shopAddress(), ReadSettings(screen),
                      [&](const std::string& caption) { screen.setPageCountLabel(caption); }, fetch);
    if (std::holds_alternative<Abandoned>(discovered))
        return RunOutcome::Abandoned;
    if (const auto* failure = std::get_if<CollectionFailure>(&discovered))
        return Fail(screen, *failure);
    return PageRun(screen, policy, std::get<ShopPages>(discovered)).run();
}

}  // namespace korvel
