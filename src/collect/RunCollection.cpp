#include "collect/RunCollection.h"

#include <vector>

#include "collect/DiscoverPages.h"
#include "collect/ItemLayout.h"
#include "collect/Messages.h"
#include "collect/ResultPages.h"
#include "text/Text.h"

namespace korvel {

namespace {

CollectionSettings ReadSettings(CollectionScreen& screen)
{
    return {screen.itemAreaStart(), screen.itemAreaEnd(), screen.tmallQueryStart(), screen.tmallQueryEnd()};
}

// Later pages read the address and the item-area markers as they stand now, so edits made during
// a run count from the next page on.
std::vector<Match> LaterPageMatches(CollectionScreen& screen, const ShopPages& pages,
                                    const ItemLayout& layout, int page)
{
    const std::string text = RequestResultPage(pages.family, screen.shopAddress(), pages.tmallQuery, page);
    const std::string area = ItemAreaOf(pages.family, text, screen.itemAreaStart(), screen.itemAreaEnd());
    return FindAllMatches(layout.pattern, area);
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

}  // namespace

RunOutcome RunCollection(CollectionScreen& screen)
{
    screen.setStartButton(collect_text::ButtonRunning, false);
    const auto discovered =
        DiscoverPages(screen.shopAddress(), ReadSettings(screen),
                      [&](const std::string& caption) { screen.setPageCountLabel(caption); });
    if (const auto* failure = std::get_if<CollectionFailure>(&discovered))
        return Fail(screen, *failure);
    const auto& pages = std::get<ShopPages>(discovered);

    const ItemLayout layout = ChooseItemLayout(pages.family, pages.itemArea);
    std::vector<Match> matches = FindAllMatches(layout.pattern, pages.itemArea);
    if (matches.empty())
        return Fail(screen, {collect_text::NoProducts, collect_text::NoProductsTitle});

    screen.clearRows();
    int total = 0;
    for (int page = 1; page <= pages.pageCount; ++page) {
        if (page > 1)
            matches = LaterPageMatches(screen, pages, layout, page);
        for (const Match& match : matches) {
            if (!screen.processEvents())
                return RunOutcome::Abandoned;
            ++total;
            screen.setTotalLabel(collect_text::ProgressPrefix + IntToText(total));
            WriteRow(screen, total, ItemFromMatch(match, layout));
        }
    }

    screen.setTotalLabel(collect_text::TotalPrefix + IntToText(total));
    screen.setStartButton(collect_text::ButtonIdle, true);
    screen.showMessage(collect_text::CollectedPrefix + IntToText(total) + collect_text::CollectedSuffix,
                       collect_text::CollectedTitle);
    return RunOutcome::Collected;
}

}  // namespace korvel
