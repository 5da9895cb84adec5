#pragma once

// A request as the demo shop reads it off the wire.

#include <string>

#include "demo-shop/DemoShop.h"

namespace korvel::demo {

RecordedRequest ParseShopRequest(const std::string& raw);

// The value of `name` in the target's query, %XX and "+" decoded; empty when absent.
std::string QueryValue(const RecordedRequest& request, const std::string& name);

// The Host header without its port.
std::string HostOf(const RecordedRequest& request);

}  // namespace korvel::demo
