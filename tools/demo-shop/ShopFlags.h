#pragma once

// The command line of korvel-demo-shop.

#include <optional>
#include <string>
#include <vector>

#include "demo-shop/DemoShop.h"

namespace korvel::demo {

struct ShopCommand {
    DemoShopOptions options;
    std::string taobaoHost = "shop123.taobao.com";
    std::string tmallHost = "shop123.tmall.com";
    std::string envFile;  // where to write the variables too; empty = nowhere
    bool help = false;
};

// The parsed command, or a message naming the flag that is wrong.
struct ParsedCommand {
    std::optional<ShopCommand> command;
    std::string error;
};

ParsedCommand ParseShopFlags(const std::vector<std::string>& args);

extern const char ShopUsage[];

}  // namespace korvel::demo
