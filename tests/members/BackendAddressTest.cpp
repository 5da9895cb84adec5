// The back-end address as the operator types it: a scheme, a host and a port, and nothing else.

#include <gtest/gtest.h>

#include "members/BackendAddress.h"

namespace korvel {
namespace {

TEST(BackendAddress, TheThreeFormsGiveTheirEndpoint)
{
    const std::pair<const char*, const char*> accepted[] = {
        {"members.example", "http://members.example/app/index.php"},
        {"127.0.0.1:8080", "http://127.0.0.1:8080/app/index.php"},
        {"http://shop-back.example.cn:81", "http://shop-back.example.cn:81/app/index.php"},
        {"https://members.example", "https://members.example/app/index.php"},
        {"HTTPS://10.0.0.2:8443", "https://10.0.0.2:8443/app/index.php"},
        {"https://[::1]:443", "https://[::1]:443/app/index.php"},
    };
    for (const auto& [typed, endpoint] : accepted) {
        const auto address = ParseBackendAddress(typed);
        ASSERT_TRUE(address) << typed;
        EXPECT_EQ(address->endpoint(), endpoint);
    }
}

TEST(BackendAddress, APathAQueryAUserOrJunkIsRefused)
{
    for (const char* typed :
         {"", "http://", "https://", "members.example/", "members.example/app", "https://members.example/x",
          "members.example?a=1", "members.example#top", "user@members.example", "https://u:p@members.example",
          "members example", " members.example", "members.example:", "members.example:0", "members.example:65536",
          "members.example:80x", "members.example:123456", "ftp://members.example", "//members.example",
          "http://http://members.example", "[::1", "-members.example", "成员.example", "members.example\r\nX: 1"}) {
        EXPECT_FALSE(ParseBackendAddress(typed)) << typed;
    }
}

TEST(BackendAddress, OnlyThisMachineIsLocal)
{
    const std::pair<const char*, bool> cases[] = {{"localhost", true},       {"127.0.0.1:8080", true},
                                                  {"127.1.2.3", true},       {"https://[::1]:8443", true},
                                                  {"127.example.com", false}, {"10.0.0.1", false},
                                                  {"members.example", false}};
    for (const auto& [typed, local] : cases) {
        EXPECT_EQ(ParseBackendAddress(typed)->local(), local) << typed;
    }
}

}  // namespace
}  // namespace korvel
