#pragma once

// Taobao result-page entries as the shop servers write them (GBK bytes, 2014 markup: the picture
// tag closed by two blanks and ">", a trailing blank in the price, the review count in a bare
// span): the demo shop's pages, the benchmarks and the tests of item extraction all use these.

#include <cstddef>
#include <string>
#include <vector>

namespace korvel::tools {

struct ShopEntry {
    std::string id;
    std::string image;  // the address after "//"
    std::string title;  // GBK
    std::string salePrice;
    std::string marketPrice;  // no "s-price" element when empty
    std::string soldCount;    // no "sale-num" element when empty
    std::string reviews;
};

// count entries with varied GBK titles, ids and prices; the same for the same arguments.
std::vector<ShopEntry> SampleEntries(std::size_t count, bool withMarketPrice);

// The GBK markup of one entry.
std::string TaobaoEntryMarkup(const ShopEntry& entry);

// The entries' markup one after another, as the item area between the area markers holds them.
std::string TaobaoItemArea(const std::vector<ShopEntry>& entries);

}  // namespace korvel::tools
