#pragma once

// One demo shop for the whole test program, reached over HTTPS under a Taobao and a Tmall host
// name. Each test sets the shop's options and starts with an empty request log.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "demo-shop/DemoShop.h"

namespace korvel::test {

inline constexpr char TaobaoHost[] = "demo.taobao.com";
inline constexpr char TmallHost[] = "demo.tmall.com";

class DemoShopRun : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;

    static demo::DemoShop& Shop() { return *shop_; }
    // The expected rows of a run with these options: number, then the seven fields.
    static std::vector<std::vector<std::string>> ExpectedRows(const demo::DemoShopOptions& options,
                                                              demo::Marketplace family);
    // The KORVEL_CONNECT_TO and KORVEL_CA_FILE entries a child process needs, "NAME=value".
    static std::vector<std::string> RoutingEnvironment();

private:
    static std::unique_ptr<demo::DemoShop> shop_;
};

}  // namespace korvel::test
