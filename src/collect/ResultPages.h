#pragma once

// The requests for the shop's pages.

#include <string>

#include "collect/PageFetch.h"
#include "collect/ShopAddress.h"

namespace korvel {

// Result page `page` (from 1) of the shop: a Taobao page is a POST of "pageNo=N" to the shop's
// search page; a Tmall page a bodiless POST to the asynchronous search carrying tmallQuery.
PageRequest ResultPageRequest(ShopFamily family, const std::string& address, const std::string& tmallQuery,
                              int page);

// The Tmall shop page that carries the mid/wid query text: one GET, nothing else sent.
PageRequest TmallShopPageRequest(const std::string& address);

// The address result page `page` is requested from; the address goes in exactly as typed.
std::string ResultPageUrl(ShopFamily family, const std::string& address, const std::string& tmallQuery,
                          int page);

// The address of the Tmall shop page that carries the mid/wid query text.
std::string TmallShopPageUrl(const std::string& address);

}  // namespace korvel
