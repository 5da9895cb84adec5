#pragma once

// The pages the demo shop serves, as GBK bytes. `host` is the shop host the request named; the
// pages link back to it the way the live sites did.

#include <string>

#include "demo-shop/DemoShop.h"

namespace korvel::demo {

// Taobao: the answer to POST /search.htm "pageNo=N".
std::string TaobaoResultPage(const DemoShopOptions& options, const std::string& host, int page);

// Tmall: the shop's search page holding the asynSearch link, and the asynchronous result page
// whose quotes arrive escaped (\").
std::string TmallShopPage(const DemoShopOptions& options, const std::string& host);
std::string TmallResultPage(const DemoShopOptions& options, const std::string& host, int page);
// What an asynSearch request without the shop's own mid/wid gets: no paging, no items.
std::string TmallUnknownShopPage();

// The marketplace's login/verification page, and its slider check, served instead of results.
std::string LoginPage(const std::string& host);
std::string SliderPage(const std::string& host);
std::string ServerErrorPage();

// "mid=w-<shopId>-0&wid=<shopId>".
std::string TmallQuery(const DemoShopOptions& options);

// Shared by both families' pages (UTF-8 source text).
namespace markup {
// The text as the options want markers written: unchanged, or in capitals.
std::string Marker(const DemoShopOptions& options, std::string text);
// Whether page `page` lists entries at all (in range, not switched to an empty page).
bool ListsEntries(const DemoShopOptions& options, int page);
// The bottom page links "1 2 3 … next" with a page jump form, as both families had them.
std::string PageLinks(const DemoShopOptions& options, const std::string& shopUrl, int page);
}  // namespace markup

}  // namespace korvel::demo
