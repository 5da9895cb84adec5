#pragma once

// One shop's part of the JSON Lines output: its products, then its summary, all as text a reader
// takes without knowing GBK (UTF-8, the cells as the CSV export writes them).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "batch/ShopOutcome.h"
#include "collect/CollectionRun.h"

namespace korvel::batch {

struct ProductCells {
    std::string id, picture, title, price, marketPrice, sold, reviews;
    int page = 0;
    int position = 0;
};

struct ShopBlock {
    std::string shop;
    ShopOutcome outcome = ShopOutcome::Failed;
    int pages = 0;
    std::vector<int> lostPages;
    std::optional<std::string> cause;  // nothing when complete
    std::int64_t run = 0;              // the run's number in the store
    std::vector<ProductCells> products;
};

ShopBlock BlockOf(const CollectionRun& run, ShopOutcome outcome, std::int64_t runId);

// Every product line, then the shop line, each ending in "\n".
std::string JsonLines(const ShopBlock& block);

}  // namespace korvel::batch
