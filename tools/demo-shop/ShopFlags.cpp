#include "demo-shop/ShopFlags.h"

#include <charconv>
#include <functional>
#include <map>

namespace korvel::demo {

const char ShopUsage[] = R"(Usage: korvel-demo-shop [flags]
Serves a Taobao and a Tmall shop over HTTPS on 127.0.0.1 and prints the variables that route the
shop hosts to it. Stops on Ctrl+C or SIGTERM.

  --port N               listen port (default 0: any free port)
  --pages N              result pages (default 3)
  --items N              entries per page (default 20; 0: a shop without products)
  --host-taobao HOST     Taobao host to route (default shop123.taobao.com)
  --host-tmall HOST      Tmall host to route (default shop123.tmall.com)
  --fail PAGE:KIND       page PAGE fails (repeatable); KIND is 500, 429, empty, drop (connection
                         closed before the page), reset (half the page, then a reset), stall
                         (never answered), drip (a byte every half second), loop (redirects to
                         itself with 307; loop301 with 301), login-redirect, login (a login page),
                         slider (a slider check), noitems, 500-items (the page as an HTTP 500) or
                         cut (the page but its last byte, then a reset)
  --page-count TEXT      total-pages text of the paging element (e.g. 0)
  --double-paging        page 1 carries the paging element twice
  --market-prices MODE   s-price on all, none, alternate entries or not-first page (default all)
  --no-sale-num PAGE:I   entry I (0-based) of page PAGE lacks its sold count (repeatable)
  --upper-markers        item-area and asynSearch-link markers written in capitals
  --no-asyn-link         the Tmall shop page lacks the asynSearch link
  --require-sign-in      shop pages redirect to the sign-in form (login.taobao.com, routed here
                         too) until it has set the session cookie
  --delay-ms N           wait N ms before every answer
  --shop-id ID           Tmall mid/wid number
  --env-file PATH        also write the variables to PATH (KEY=VALUE lines)
  --help
)";

namespace {

bool ToInt(const std::string& text, int& out)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size() && out >= 0;
}

bool ToPair(const std::string& text, int& a, int& b)
{
    const auto colon = text.find(':');
    return colon != std::string::npos && ToInt(text.substr(0, colon), a) && ToInt(text.substr(colon + 1), b);
}

bool AddFault(DemoShopOptions& o, const std::string& v)
{
    static const std::map<std::string, PageFault> kinds = {
        {"500", PageFault::ServerError},     {"429", PageFault::TooManyRequests},
        {"empty", PageFault::EmptyBody},     {"drop", PageFault::DropConnection},
        {"reset", PageFault::ResetMidBody},  {"stall", PageFault::Stall},
        {"drip", PageFault::Drip},           {"loop", PageFault::RedirectLoop},
        {"login-redirect", PageFault::LoginRedirect}, {"login", PageFault::LoginPage},
        {"slider", PageFault::SliderPage},   {"noitems", PageFault::NoItems},
        {"loop301", PageFault::MovedLoop},   {"500-items", PageFault::ErrorWithItems},
        {"cut", PageFault::CutShort}};
    const auto colon = v.find(':');
    int page = 0;
    const auto kind = colon == std::string::npos ? kinds.end() : kinds.find(v.substr(colon + 1));
    if (kind == kinds.end() || !ToInt(v.substr(0, colon), page) || page < 1)
        return false;
    o.faults[page] = kind->second;
    return true;
}

bool SetMarketPrices(DemoShopOptions& o, const std::string& v)
{
    static const std::map<std::string, MarketPrices> modes = {{"all", MarketPrices::All},
                                                              {"none", MarketPrices::None},
                                                              {"alternate", MarketPrices::Alternate},
                                                              {"not-first", MarketPrices::NotOnFirstPage}};
    const auto mode = modes.find(v);
    if (mode == modes.end())
        return false;
    o.marketPrices = mode->second;
    return true;
}

using ValueFlag = std::function<bool(ShopCommand&, const std::string&)>;

const std::map<std::string, ValueFlag>& ValueFlags()
{
    static const std::map<std::string, ValueFlag> flags = {
        {"--port", [](ShopCommand& c,
                      const std::string& v) { return ToInt(v, c.options.port) && c.options.port < 65536; }},
        {"--pages", [](ShopCommand& c, const std::string& v) { return ToInt(v, c.options.pages); }},
        {"--items", [](ShopCommand& c, const std::string& v) { return ToInt(v, c.options.itemsPerPage); }},
        {"--host-taobao", [](ShopCommand& c, const std::string& v) { return !(c.taobaoHost = v).empty(); }},
        {"--host-tmall", [](ShopCommand& c, const std::string& v) { return !(c.tmallHost = v).empty(); }},
        {"--fail", [](ShopCommand& c, const std::string& v) { return AddFault(c.options, v); }},
        {"--page-count",
         [](ShopCommand& c, const std::string& v) { return bool(c.options.shownPageCount = v); }},
        {"--market-prices",
         [](ShopCommand& c, const std::string& v) { return SetMarketPrices(c.options, v); }},
        {"--no-sale-num",
         [](ShopCommand& c, const std::string& v) {
             int page = 0, index = 0;
             return ToPair(v, page, index) && c.options.withoutSaleNum.insert({page, index}).second;
         }},
        {"--delay-ms",
         [](ShopCommand& c, const std::string& v) {
             int ms = 0;
             if (!ToInt(v, ms))
                 return false;
             c.options.delay = std::chrono::milliseconds(ms);
             return true;
         }},
        {"--shop-id", [](ShopCommand& c, const std::string& v) { return !(c.options.shopId = v).empty(); }},
        {"--env-file", [](ShopCommand& c, const std::string& v) { return !(c.envFile = v).empty(); }},
    };
    return flags;
}

}  // namespace

ParsedCommand ParseShopFlags(const std::vector<std::string>& args)
{
    ShopCommand c;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& flag = args[i];
        if (flag == "--help" || flag == "-h")
            c.help = true;
        else if (flag == "--double-paging")
            c.options.doublePaging = true;
        else if (flag == "--upper-markers")
            c.options.upperCaseMarkers = true;
        else if (flag == "--no-asyn-link")
            c.options.omitAsynLink = true;
        else if (flag == "--require-sign-in")
            c.options.requireSignIn = true;
        else if (const auto f = ValueFlags().find(flag); f != ValueFlags().end()) {
            if (i + 1 >= args.size() || !f->second(c, args[i + 1]))
                return {std::nullopt, "bad or missing value for " + flag};
            ++i;
        } else {
            return {std::nullopt, "unknown flag " + flag};
        }
    }
    return {c, {}};
}

}  // namespace korvel::demo
