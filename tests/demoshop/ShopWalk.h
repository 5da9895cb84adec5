#pragma once

// Talks to a running demo shop the way the collector does (same requests, same markers, the real
// page and item patterns), without the window.

#include <string>
#include <vector>

#include "demo-shop/DemoShop.h"

namespace korvel::test {

struct Fetched {
    int status = -1;  // -1: the transfer failed
    std::string body;
    std::string contentType;
};

// Requests sent to the shop's port with `host` in the Host header, over TLS checked against the
// shop's CA.
class ShopClient {
public:
    ShopClient(const demo::DemoShop& shop, std::string host);
    ShopClient(int port, std::string caFile, std::string host);
    Fetched taobaoPage(int page) const;
    Fetched tmallShopPage() const;
    Fetched tmallPage(const std::string& query, int page) const;

private:
    Fetched send(const std::string& method, const std::string& target, const std::string& body) const;
    int port_;
    std::string caFile_;
    std::string host_;
};

// The markers the settings page starts with, and Tmall's fixed item-area markers.
inline constexpr char TaobaoAreaStart[] = "<div class=\"shop-hesper-bd grid\">";
inline constexpr char TaobaoAreaEnd[] = "<!--END OF  pagination-->";
inline constexpr char TmallQueryStart[] = "/i/asynSearch.htm?";
inline constexpr char TmallQueryEnd[] = "&path=/search.htm&&amp;search=y";
inline constexpr char TmallAreaStart[] = "J_TItems";
inline constexpr char TmallAreaEnd[] = "pagination";

// A whole collection of the shop as the run makes it: page 1 decides the page count and the item
// layout, pages 2 … N follow, every match becomes one record.
std::vector<demo::ShopItem> WalkShop(const demo::DemoShop& shop, demo::Marketplace family);

}  // namespace korvel::test
