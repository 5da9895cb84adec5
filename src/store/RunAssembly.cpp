#include "store/RunAssembly.h"

#include <algorithm>

#include "store/RunSequence.h"

namespace korvel::store {
namespace {

// Where the product at `at` first occurred in the run.
size_t FirstPosition(const std::vector<std::int64_t>& sequence, size_t at)
{
    return size_t(std::find(sequence.begin(), sequence.end(), sequence[at]) - sequence.begin());
}

}  // namespace

std::optional<RunPieces> ReadSequence(std::string_view products, std::string_view pages, std::int64_t productCount)
{
    RunPieces pieces;
    pieces.sequence = ReadVarints(products);
    if (productCount < 0 || pieces.sequence.size() != static_cast<std::uint64_t>(productCount))
        return std::nullopt;
    auto decoded = DecodePages(pages, pieces.sequence.size());
    if (!decoded)
        return std::nullopt;
    pieces.pages = std::move(*decoded);
    return pieces;
}

std::optional<std::vector<Product>> AssembleRun(RunPieces pieces)
{
    const std::vector<std::int64_t>& sequence = pieces.sequence;
    std::vector<Product> products;
    products.reserve(sequence.size());
    for (size_t i = 0; i < sequence.size(); ++i) {
        auto state = pieces.states.find(sequence[i]);
        if (state == pieces.states.end())
            return std::nullopt;
        const auto position = std::int64_t(i) + 1;
        const auto repeat = pieces.repeats.find(position);
        if (repeat == pieces.repeats.end()) {
            // Only a product's first occurrence reads its state: the later ones are repeats.
            products.push_back(std::move(state->second));
        } else {
            products.push_back(repeat->second);
            products.back().id = products[FirstPosition(sequence, i)].id;
        }
        Product& product = products.back();
        product.position = int(position);
        product.page = i < pieces.pages.size() ? pieces.pages[i] : 0;
    }
    return products;
}

CollectionRun RunFrom(const RunSummary& summary, std::vector<Product> products)
{
    CollectionRun run;
    run.shopHost = summary.shopHost;
    run.family = summary.family;
    run.started = summary.started;
    run.ended = summary.ended;
    run.end = summary.end;
    run.pageCount = summary.pageCount;
    run.pagesCollected = summary.pagesCollected;
    run.failureCause = summary.failureCause;
    run.lostPages = summary.lostPages;
    run.products.append(std::move(products));
    run.productCount = static_cast<int>(run.products.size());
    return run;
}

void KeepLowest(LowestPrices& lowest, const std::string& item, std::string_view price)
{
    const auto value = ReadDecimal(price);
    if (!value)
        return;
    const auto found = lowest.find(item);
    if (found == lowest.end())
        lowest.emplace(item, LowestPrice{*value, std::string(price)});
    else if (CompareDecimals(*value, found->second.value) < 0)
        found->second = {*value, std::string(price)};
}

}  // namespace korvel::store
