#pragma once

// A run's products rebuilt from the pieces both stores keep: the run's sequence of product rows,
// each product's state at that run, and the later occurrences of an ID kept whole.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "collect/Product.h"
#include "store/Changes.h"
#include "store/HistoryReading.h"

namespace korvel::store {

struct RunPieces {
    std::vector<std::int64_t> sequence;                   // product row per position
    std::vector<int> pages;                               // page per position
    std::unordered_map<std::int64_t, Product> states;     // by product row, with its ID
    std::unordered_map<std::int64_t, Product> repeats;    // by position from 1
};

// The sequence and pages of a run's row; nothing when the blobs disagree with the row's own product
// count (a damaged store), which bounds everything read from them.
std::optional<RunPieces> ReadSequence(std::string_view products, std::string_view pages, std::int64_t productCount);

// Nothing when a product in the sequence has no state at the run: a damaged store.
std::optional<std::vector<Product>> AssembleRun(RunPieces pieces);

// The collection a stored run came from, as the batch delivers it again.
CollectionRun RunFrom(const RunSummary& summary, std::vector<Product> products);

// Keeps the lower of the known lowest sale price of `item` and `price`, when it reads as a number.
void KeepLowest(LowestPrices& lowest, const std::string& item, std::string_view price);

}  // namespace korvel::store
