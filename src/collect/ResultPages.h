#pragma once

// The shop's pages as texts: a body is taken up to its first zero byte, as the GBK it arrives in.
// A failed or empty response is empty text.

#include <string>

#include "collect/ShopAddress.h"

namespace korvel {

// One GET of the address, nothing else sent.
std::string FetchPageText(const std::string& url);

// Result page `page` (from 1) of the shop: a Taobao page is a POST of "pageNo=N" to the shop's
// search page; a Tmall page a bodiless POST to the asynchronous search carrying tmallQuery.
std::string RequestResultPage(ShopFamily family, const std::string& address, const std::string& tmallQuery,
                              int page);

// The address result page `page` is requested from; the address goes in exactly as typed.
std::string ResultPageUrl(ShopFamily family, const std::string& address, const std::string& tmallQuery,
                          int page);

// The address of the Tmall shop page that carries the mid/wid query text.
std::string TmallShopPageUrl(const std::string& address);

}  // namespace korvel
