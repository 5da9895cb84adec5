#pragma once

// The shop's answers, one function per kind of request. Each reads the options it is given, so a
// change of options applies from the next request on; `pages` must be emptied at such a change.

#include <httplib.h>

#include "demo-shop/DemoShop.h"
#include "demo-shop/PageCache.h"

namespace korvel::demo {

// POST /search.htm, "pageNo=N": a Taobao result page.
void AnswerTaobaoResult(const DemoShopOptions& options, PageCache& pages, const httplib::Request& req,
                        httplib::Response& res);
// GET /search.htm: a Tmall shop's search page with its asynSearch link.
void AnswerTmallShop(const DemoShopOptions& options, PageCache& pages, const httplib::Request& req,
                     httplib::Response& res);
// /i/asynSearch.htm?mid=…&wid=…&pageNo=N: a Tmall result page.
void AnswerTmallResult(const DemoShopOptions& options, PageCache& pages, const httplib::Request& req,
                       httplib::Response& res);

}  // namespace korvel::demo
