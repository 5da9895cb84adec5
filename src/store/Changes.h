#pragma once

// What changed in a shop between two runs, product by product. Each ID stands for the first
// product that carries it in a run. Prices and counts compare as decimal numbers when both sides
// read as numbers; texts that differ otherwise are a change without a difference.

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "collect/Product.h"
#include "store/Decimal.h"

namespace korvel {

// In the order a product's changes are listed.
enum class ChangeKind { New, Removed, Price, MarketPrice, Title, Picture, Sold, Reviews, Lowest };

struct Change {
    std::string id;  // GBK, as extracted
    ChangeKind kind = ChangeKind::New;
    // The field as extracted (GBK); the title for New and Removed, which have no before or after.
    // For Lowest, before is the lowest earlier sale price.
    std::optional<std::string> before;
    std::optional<std::string> after;
    std::optional<std::string> delta;    // after − before, when both read as numbers
    std::optional<std::string> percent;  // delta ÷ before × 100, two decimals; none from 0
    std::string title;                   // GBK: the latest run's title (the earlier one's if removed)
};

// A product's lowest sale price over the earlier complete runs, and the text that gave it.
struct LowestPrice {
    Decimal value;
    std::string text;
};
using LowestPrices = std::unordered_map<std::string, LowestPrice>;

// The changes from `earlier` (a complete run) to `latest`, in the latest run's order, removed
// products last in the earlier run's order. Products missing from an incomplete latest run may sit
// on its lost pages: they are never reported as removed.
std::vector<Change> CompareRuns(const std::vector<Product>& earlier, const std::vector<Product>& latest,
                                bool latestComplete, const LowestPrices& lowest);

// "new", "removed", "price", "market_price", "title", "picture", "sold", "reviews", "lowest".
const char* ChangeKindName(ChangeKind kind);

}  // namespace korvel
