#pragma once

// One collection of one shop as a record: what was asked, how it ended and what it found. The
// window, korvel-collect and the history all read the same record; none keeps a copy of its own.

#include <chrono>
#include <string>
#include <vector>

#include "collect/RunProducts.h"
#include "collect/ShopAddress.h"

namespace korvel {

enum class RunEnd {
    Complete,     // every page collected
    Incomplete,   // products collected, but pages lost (named in lostPages)
    Failed,       // ended by a failure before or at page 1 (failureCause says why)
    Interrupted,  // cancelled: the window closed or Ctrl+C
};

// Why a run ended before its first product.
enum class RunFailure {
    None,
    UnsupportedShop,  // the address is neither a Taobao nor a Tmall shop
    NoPageInfo,       // page 1 carried no paging
    NoProducts,       // page 1 had paging but no products
};

// A page after page 1 that did not give all its products, with the cause as the user reads it
// (GBK). An incomplete page gave the products that arrived before it failed.
struct LostPage {
    int page = 0;
    std::string cause;
    bool incomplete = false;
};

struct CollectionRun {
    std::string shopHost;  // the address as the run read it, trimmed and in lower case: the history's key
    ShopFamily family = ShopFamily::Taobao;
    std::chrono::system_clock::time_point started;
    std::chrono::system_clock::time_point ended;
    int pageCount = 0;       // as page 1 gave it; 0 when page 1 failed
    int pagesCollected = 0;  // pages whose products arrived
    int productCount = 0;    // products.size(), for the captions
    std::vector<LostPage> lostPages;
    RunEnd end = RunEnd::Interrupted;
    RunFailure failure = RunFailure::None;
    std::string failureCause;  // GBK, the line under the failure's message; may be empty
    std::string lossLines;     // GBK, the lines naming the lost pages under the closing message
    // Every product found, in page order; observers were handed the same slices.
    RunProducts products;
};

}  // namespace korvel
