#pragma once

// The shop's answers, one function per kind of request. Each reads the options it is given, so a
// change of options applies from the next request on; `pages` must be emptied at such a change.

#include "demo-shop/DemoShop.h"
#include "demo-shop/PageCache.h"
#include "support/FaultServer.h"

namespace korvel::demo {

using tools::FaultReply;

// POST /search.htm, "pageNo=N": a Taobao result page.
FaultReply AnswerTaobaoResult(const DemoShopOptions& options, PageCache& pages, const RecordedRequest& request);
// GET /search.htm: a Tmall shop's search page with its asynSearch link.
FaultReply AnswerTmallShop(const DemoShopOptions& options, PageCache& pages, const RecordedRequest& request);
// /i/asynSearch.htm?mid=…&wid=…&pageNo=N: a Tmall result page.
FaultReply AnswerTmallResult(const DemoShopOptions& options, PageCache& pages, const RecordedRequest& request);
// Anything else.
FaultReply AnswerNotFound();

}  // namespace korvel::demo
