#pragma once

// One demo shop for the window tests, with the HTTP client routed to it: the shop hosts the tests
// type resolve to 127.0.0.1 and its throwaway CA is trusted.

#include "demo-shop/DemoShop.h"

namespace korvel::test {

inline constexpr char kTaobaoHost[] = "shop35897120.taobao.com";
inline constexpr char kTmallHost[] = "shop35897120.tmall.com";

// Started on first use, with the routing variables set; options are per test.
demo::DemoShop& RoutedDemoShop();

}  // namespace korvel::test
