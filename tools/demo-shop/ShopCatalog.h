#pragma once

// What the demo shop lists: every entry derived from (page, index), so nothing is stored and any
// page of any size can be served or predicted.

#include <string>

#include "demo-shop/DemoShop.h"

namespace korvel::demo {

// An entry in UTF-8, before the page is encoded; empty marketPrice or sold = not shown.
ShopItem CatalogItem(const DemoShopOptions& options, Marketplace family, int page, int index);

bool ShowsMarketPrice(const DemoShopOptions& options, Marketplace family, int page, int index);
bool ShowsSaleNum(const DemoShopOptions& options, int page, int index);

// The total-pages text of the paging element.
std::string ShownPageCount(const DemoShopOptions& options);

// The page count a reader of the paging element arrives at: leading blanks skipped, an optional
// sign, then ASCII or full-width digits; the text is GBK.
int ReadPageCount(const std::string& gbkText);

}  // namespace korvel::demo
