#pragma once

// One product as a collection extracted it. Every field holds the page's GBK bytes exactly as the
// pattern caught them, so the exports, the history and the comparisons see what the shop showed.

#include <string>

namespace korvel {

struct Product {
    std::string id;
    std::string picture;
    std::string title;
    std::string salePrice;
    std::string marketPrice;
    std::string sold;
    std::string reviews;
    int page = 0;      // the result page it came from, from 1
    int position = 0;  // its row in the run, from 1 (the list's 序号)
};

}  // namespace korvel
