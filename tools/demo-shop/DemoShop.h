#pragma once

// A local HTTPS server that plays both marketplaces for any shop host routed to it, with the
// markup of the years Korvel was built against. Everything it serves is derived from its options,
// so a test can predict every record and switch on every way a shop has failed us.
//
//   Taobao: POST /search.htm with body "pageNo=N"                 -> result page N
//   Tmall:  GET  /search.htm?search=y&pageNo=1                    -> shop page with the asynSearch link
//           POST /i/asynSearch.htm?mid=…&wid=…&…&pageNo=N         -> result page N, quotes escaped as \"
//
// Pages are GBK bytes ("text/html;charset=GBK"). Any Host header is served; the path decides the
// family. The shop runs on the fault server, which plays the failure switches: resets, stalls,
// drips and redirects included.

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/ThrowawayTls.h"

namespace korvel::demo {

enum class Marketplace { Taobao, Tmall };

// How one result page goes wrong.
enum class PageFault {
    None,
    ServerError,      // HTTP 500 with a short error page
    TooManyRequests,  // HTTP 429
    EmptyBody,        // HTTP 200, zero-length body
    DropConnection,   // headers promise a body, then the connection closes
    ResetMidBody,     // half the page, then the connection is reset
    Stall,            // the request is read and never answered
    Drip,             // the page, one byte every half second
    RedirectLoop,     // a redirect back to the same address, again and again
    MovedLoop,        // the same with 301 (moved permanently)
    LoginRedirect,    // a redirect to the marketplace's login page
    LoginPage,        // HTTP 200 with a login/verification page instead of results
    SliderPage,       // HTTP 200 with a slider check instead of results
    NoItems,          // a normal result page whose item area holds no entries
    // The whole result page (its entries included) as the body of an HTTP 500.
    ErrorWithItems,
    // The result page but for its last byte, then the connection is reset: cut short after the
    // item area.
    CutShort,
};

// Which Taobao entries carry a market price ("s-price"). Tmall pages never do.
enum class MarketPrices {
    All,
    None,
    Alternate,       // entries with an even index on their page (0, 2, 4, …)
    NotOnFirstPage,  // every entry of pages 2 … N, none on page 1
};

struct DemoShopOptions {
    int pages = 3;                    // result pages the shop holds
    int itemsPerPage = 20;            // entries per page; 0 = a shop without products
    std::map<int, PageFault> faults;  // by page number, 1-based
    // Total-pages text of the paging element instead of `pages`, e.g. "0" (UTF-8; served as GBK).
    std::optional<std::string> shownPageCount;
    bool doublePaging = false;  // page 1 carries the paging element twice
    MarketPrices marketPrices = MarketPrices::All;
    std::set<std::pair<int, int>> withoutSaleNum;  // (page, 0-based index) entries lacking "sale-num"
    // (page, 0-based index) → the title's raw HTML instead of the catalogue's (UTF-8; served as GBK)
    std::map<std::pair<int, int>, std::string> titles;
    // (page, 0-based index) → the sale price or sold count shown instead of the catalogue's: a shop
    // that changes between two collections.
    std::map<std::pair<int, int>, std::string> salePrices;
    std::map<std::pair<int, int>, std::string> soldCounts;
    bool upperCaseMarkers = false;       // item-area and asynSearch-link markers written in capitals
    bool omitAsynLink = false;           // the Tmall shop page lacks the asynSearch link
    bool firstItemOnEveryPage = false;   // every page lists page 1's first entry first, again
    std::chrono::milliseconds delay{0};  // before every answer: a slow shop
    std::string shopId = "15870872781";  // Tmall mid/wid; asynSearch requests must carry them
    int port = 0;                        // 0 = any free port on 127.0.0.1
    std::optional<tools::TlsFiles> tls;  // reuse this material instead of making a throwaway CA
    bool requireSignIn = false;          // shop pages only for a signed-in visitor (SignIn.h)
};

// One entry as the shop lists it. GBK texts exactly as they stand in the page, except that an
// entry without a market price or sold count has it empty here.
struct ShopItem {
    std::string productId;
    std::string imageAddress;  // after the leading "//"
    std::string title;         // raw HTML between the title link's ">" and "</a>"
    std::string salePrice;
    std::string marketPrice;
    std::string sold;
    std::string reviews;
    bool operator==(const ShopItem&) const = default;
};

// Entry `index` (0-based) of result page `page` (1-based) as that family's page shows it (a Taobao
// sale price keeps the blank the page has before "</span>"; Tmall reviews read "评价: N").
ShopItem ListedItem(const DemoShopOptions& options, Marketplace family, int page, int index);

// The records a correct collection run yields from a shop with these options, in list order:
// failing pages contribute nothing (page 1 failing: nothing at all) unless they carry their entries
// (ErrorWithItems, CutShort), Tmall records read "0" for
// market price, sold and reviews, a Taobao shop whose page 1 shows no "s-price" reads "0" market
// prices throughout, and an entry whose market price or sold count is missing merges with the
// following entry the way the lazy item patterns read it.
std::vector<ShopItem> ExpectedItems(const DemoShopOptions& options, Marketplace family);

// One request as the shop received it.
struct RecordedRequest {
    std::string method;
    std::string target;  // path with its query, as sent
    std::string path;
    std::string body;
    std::multimap<std::string, std::string> headers;  // Host included
};

class DemoShop {
public:
    explicit DemoShop(DemoShopOptions options = {});
    ~DemoShop();
    DemoShop(const DemoShop&) = delete;
    DemoShop& operator=(const DemoShop&) = delete;

    // Makes the TLS material (unless given), binds 127.0.0.1 and serves from a background thread.
    // False when any of that fails.
    [[nodiscard]] bool start();
    // Stops serving; removes the throwaway TLS material it made.
    void stop();

    int port() const;
    // The CA that signed the server certificate (*.taobao.com, *.tmall.com, localhost, 127.0.0.1).
    std::string caFile() const;
    // The KORVEL_CONNECT_TO entry routing host:443 here: "host:443:127.0.0.1:PORT".
    std::string connectTo(const std::string& host) const;
    // "mid=w-<shopId>-0&wid=<shopId>": what the Tmall shop page holds between the default markers.
    std::string tmallQuery() const;

    // Options may change while serving; the next request sees them.
    DemoShopOptions options() const;
    void setOptions(DemoShopOptions options);

    std::vector<RecordedRequest> requests() const;
    void clearRequests();

    struct State;

private:
    std::unique_ptr<State> state_;
};

}  // namespace korvel::demo
