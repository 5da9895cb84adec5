#pragma once

// The products of one item area: the record, the run's item pattern and the group mapping.

#include <string>

#include "collect/Pattern.h"
#include "collect/ShopAddress.h"

namespace korvel {

// One product, one row of the product list, fields in column order. Every field is the page's
// text unchanged.
struct CollectedItem {
    std::string sequenceNo;
    std::string productId;
    std::string imageAddress;
    std::string title;
    std::string salePrice;
    std::string marketPrice;
    std::string soldCount;
    std::string reviewText;
};

// Fixed once per run and compiled once.
struct ItemLayout {
    ShopFamily family = ShopFamily::Taobao;
    bool hasMarketPrice = false;
    std::string patternText;
    Pattern pattern{""};
};

// What a page does not carry gets this.
inline constexpr char MissingField[] = "0";

// A Taobao layout carries the market-price piece when page 1's item area mentions "s-price"; the
// choice then holds for every page of the run.
ItemLayout ChooseItemLayout(ShopFamily family, const std::string& firstItemArea);

// Every field but sequenceNo.
CollectedItem ItemFromMatch(const Match& match, const ItemLayout& layout);

}  // namespace korvel
