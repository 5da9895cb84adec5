#pragma once

// The list of shops a batch collects: one host per line, UTF-8. Blank lines and lines starting
// with "#" are notes; spaces, tabs and a CR around a host are trimmed. Hosts are lower-cased before
// they are compared, hashed or collected, so a host listed twice in any case is collected once.

#include <string>
#include <string_view>
#include <vector>

namespace korvel::batch {

struct ShopList {
    std::vector<std::string> hosts;  // lower case, in list order, each once
    std::string error;               // names the line; empty when the list is good
};

// A list is read whole: past these it is no list of shops but a mistaken file, refused with the
// line that crosses the limit. The error shows the line escaped and cut short, never raw.
inline constexpr size_t MaxListBytes = 10u << 20;
inline constexpr size_t MaxLineBytes = 4u << 10;

ShopList ParseShopList(std::string_view utf8);

// True for a DNS name (labels of letters, digits and inner hyphens) under taobao.com or tmall.com,
// the registrable domain itself excluded. Expects lower case.
bool IsShopHost(std::string_view host);

}  // namespace korvel::batch
