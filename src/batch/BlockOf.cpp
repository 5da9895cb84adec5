#include "batch/ShopBlock.h"
#include "export/CsvExport.h"

namespace korvel::batch {
namespace {

// A cause is shown as it stands: only its code page changes.
std::string Utf8(const std::string& gbk)
{
    return CsvCellText(gbk, CellKind::Address);
}

// The cells exactly as the CSV export writes them, so the two outputs never disagree.
ProductCells CellsOf(const Product& product)
{
    ProductCells cells;
    cells.id = CsvCellText(product.id, CellKind::Number);
    cells.picture = CsvCellText(product.picture, CellKind::Address);
    cells.title = CsvCellText(product.title, CellKind::Text);
    cells.price = CsvCellText(product.salePrice, CellKind::Number);
    cells.marketPrice = CsvCellText(product.marketPrice, CellKind::Number);
    cells.sold = CsvCellText(product.sold, CellKind::Number);
    cells.reviews = CsvCellText(product.reviews, CellKind::Number);
    cells.page = product.page;
    cells.position = product.position;
    return cells;
}

std::optional<std::string> CauseOf(const CollectionRun& run, ShopOutcome outcome)
{
    if (outcome == ShopOutcome::Complete)
        return std::nullopt;
    if (!run.failureCause.empty())
        return Utf8(run.failureCause);
    std::string causes;
    for (const LostPage& lost : run.lostPages)
        causes += (causes.empty() ? "" : "\n") + Utf8(lost.cause);
    return causes;
}

}  // namespace

ShopBlock BlockOf(const CollectionRun& run, ShopOutcome outcome, std::int64_t runId)
{
    ShopBlock block;
    block.shop = run.shopHost;
    block.outcome = outcome;
    block.pages = run.pageCount;
    for (const LostPage& lost : run.lostPages)
        block.lostPages.push_back(lost.page);
    block.cause = CauseOf(run, outcome);
    block.run = runId;
    for (const Product& product : run.products)
        block.products.push_back(CellsOf(product));
    return block;
}

}  // namespace korvel::batch
