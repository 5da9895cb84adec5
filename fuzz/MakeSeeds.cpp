// Writes the fuzz targets' first inputs into DIR/<target>/: the demo shop's pages, built the way
// it serves them (a few entries each, so that mutations stay fast), and a few hand-made inputs for
// the helpers. Usage: korvel-fuzz-seeds DIR

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "collect/DiscoverPages.h"
#include "demo-shop/ShopPages.h"
#include "text/Gbk.h"

namespace {

using korvel::demo::DemoShopOptions;
namespace gbk = korvel::gbk;

constexpr char kTaobao[] = "shop123.taobao.com";
constexpr char kTmall[] = "shop123.tmall.com";

// The discovery target's lead: both pages arrived whole with status 200.
const std::string kArrivedWhole(4, '\0');

struct Seed {
    std::string target;
    std::string name;
    std::string bytes;
};

// Fields as the targets cut them: separated by zero bytes.
std::string Joined(const std::vector<std::string>& fields)
{
    std::string out;
    for (std::size_t k = 0; k < fields.size(); ++k)
        out += (k > 0 ? std::string(1, '\0') : std::string()) + fields[k];
    return out;
}

std::string RawInt(std::int32_t value)
{
    std::string bytes(4, '\0');
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

struct ShopVariant {
    const char* name;
    DemoShopOptions options;
};

std::vector<ShopVariant> ShopVariants()
{
    DemoShopOptions small;
    small.itemsPerPage = 3;
    std::vector<ShopVariant> variants{{"plain", small}};
    auto add = [&](const char* name, auto change) {
        DemoShopOptions options = small;
        change(options);
        variants.push_back({name, options});
    };
    add("no-market-prices", [](DemoShopOptions& o) { o.marketPrices = korvel::demo::MarketPrices::None; });
    add("alternate-market-prices",
        [](DemoShopOptions& o) { o.marketPrices = korvel::demo::MarketPrices::Alternate; });
    add("entry-without-sold", [](DemoShopOptions& o) { o.withoutSaleNum = {{1, 1}}; });
    add("double-paging", [](DemoShopOptions& o) { o.doublePaging = true; });
    add("full-width-page-count", [](DemoShopOptions& o) { o.shownPageCount = "１２"; });
    add("upper-case-markers", [](DemoShopOptions& o) { o.upperCaseMarkers = true; });
    add("no-items", [](DemoShopOptions& o) { o.itemsPerPage = 0; });
    return variants;
}

// Each variant's pages whole for discovery, and their item areas for extraction.
void AddShopPages(std::vector<Seed>& seeds)
{
    const korvel::CollectionSettings settings = korvel::DefaultCollectionSettings();
    for (const auto& [name, options] : ShopVariants()) {
        const std::string taobao = korvel::demo::TaobaoResultPage(options, kTaobao, 1);
        const std::string tmall = korvel::demo::TmallResultPage(options, kTmall, 1);
        const std::string tmallShop = korvel::demo::TmallShopPage(options, kTmall);
        seeds.push_back({"discover", std::string(name) + "-taobao", kArrivedWhole + taobao});
        seeds.push_back(
            {"discover", std::string(name) + "-tmall", kArrivedWhole + Joined({tmall, tmallShop})});
        seeds.push_back({"extract", std::string(name) + "-taobao",
                         korvel::ItemAreaOf(korvel::ShopFamily::Taobao, taobao, settings.itemAreaStart,
                                            settings.itemAreaEnd)});
        seeds.push_back({"extract", std::string(name) + "-tmall",
                         korvel::ItemAreaOf(korvel::ShopFamily::Tmall, tmall, "", "")});
    }
    const DemoShopOptions plain = ShopVariants().front().options;
    seeds.push_back({"extract", "whole-taobao-page", korvel::demo::TaobaoResultPage(plain, kTaobao, 2)});
    // Decoding checks every character on its own: one entry is variety enough, and stays fast.
    DemoShopOptions oneEntry = plain;
    oneEntry.itemsPerPage = 1;
    seeds.push_back({"gbk", "tmall-entry",
                     korvel::ItemAreaOf(korvel::ShopFamily::Tmall,
                                        korvel::demo::TmallResultPage(oneEntry, kTmall, 1), "", "")});
}

// What stands in for results when the marketplace refuses, and pages that arrive broken.
void AddRefusals(std::vector<Seed>& seeds)
{
    const DemoShopOptions plain = ShopVariants().front().options;
    const std::string page = korvel::demo::TaobaoResultPage(plain, kTaobao, 1);
    seeds.push_back({"discover", "login", kArrivedWhole + korvel::demo::LoginPage(kTaobao)});
    seeds.push_back({"discover", "slider", kArrivedWhole + korvel::demo::SliderPage(kTmall)});
    seeds.push_back(
        {"discover", "server-error", std::string("\0\xc8\0\0", 4) + korvel::demo::ServerErrorPage()});
    seeds.push_back({"discover", "unknown-tmall-shop",
                     kArrivedWhole + Joined({korvel::demo::TmallUnknownShopPage(),
                                             korvel::demo::TmallShopPage(plain, kTmall)})});
    // A reset after two retries, markers of the settings page typed anew, a shop address as typed.
    const std::string reset(1, static_cast<char>(korvel::HttpFailure::ConnectionReset));
    seeds.push_back(
        {"discover", "own-markers-and-reset",
         reset + std::string("\0\0\x02", 3) +
             Joined({page, "", "<div class=\"item4line1\">", "<div class=\"pagination\">", "asynSearch.htm?",
                     "&path=", "https://SHOP123.taobao.com/?x=tmall.com", "Connection reset by peer"})});
    seeds.push_back({"gbk", "login", korvel::demo::LoginPage(kTaobao)});
    seeds.push_back({"gbk", "lone-bytes",
                     "a\x80"
                     "b\xff"
                     "c\x81"
                     "d\x81\x7f"
                     "\xa1\xa1"
                     "\xfe"});
}

std::string TextNumbers(std::int32_t start, std::int32_t length, bool ignoreCase,
                        std::optional<int> maxPieces)
{
    const char flags = static_cast<char>((ignoreCase ? 1 : 0) | (maxPieces ? 2 : 0));
    return RawInt(start) + RawInt(length) + flags + static_cast<char>(maxPieces.value_or(0));
}

void AddTextSeeds(std::vector<Seed>& seeds)
{
    const std::string count = gbk::FromUtf8("共搜索到<span> 60 </span>个符合条件的商品。");
    seeds.push_back(
        {"text", "search", TextNumbers(1, 5, true, std::nullopt) + Joined({count, "SPAN", "<b>"})});
    seeds.push_back(
        {"text", "split", TextNumbers(3, 2, false, 2) + Joined({gbk::FromUtf8("１/２/ 3 /丣_TItems"), "/", ""})});
    seeds.push_back(
        {"text", "full-width-number", TextNumbers(-4, 9, false, -1) + Joined({gbk::FromUtf8("　－１２３．５e1")})});
    seeds.push_back({"text", "number", TextNumbers(2, 40, false, 0) + Joined({" +2147483648.25e-3"})});
}

void AddWebSeeds(std::vector<Seed>& seeds)
{
    const std::string numbers = RawInt(1) + '\x01';
    const std::string headers =
        "HTTP/1.1 301 Moved Permanently\r\nLocation: https://shop123.taobao.com\r\nSet-Cookie: a=1; "
        "path=/\r\n"
        "Set-Cookie: b=deleted; path=/\r\n\r\n";
    seeds.push_back({"web", "redirect",
                     numbers + Joined({"https://shop123.taobao.com:8443/search.htm?search=y", headers,
                                       "a=0; c=3", "a=1; b=deleted",
                                       "User-Agent: Korvel\r\nReferer: https://x/", "Set-Cookie:", ";"})});
    seeds.push_back({"web", "quote-marker",
                     RawInt(3) + '\0' +
                         Joined({"shop123.tmall.com", gbk::FromUtf8("<a href=\"x\">链接</a>"), gbk::FromUtf8("名 = 值"), "",
                                 "", gbk::FromUtf8("href=#引号"), gbk::FromUtf8("#引号")})});
}

void AddMemberSeeds(std::vector<Seed>& seeds)
{
    int k = 0;
    for (const char* reply : {"1", " 2", "-1", "0", "3abc", "\xa3\xb2"})
        seeds.push_back({"member-reply", "reply-" + std::to_string(++k), reply});
    std::vector<std::string> fields{"ad&min", "p=w 50%",          "1", "oA",
                                    "oB",     gbk::FromUtf8("张&三=1+1"), "1", "13800000000"};
    seeds.push_back({"member-reply", "member", Joined(fields)});
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: korvel-fuzz-seeds DIR\n";
        return 2;
    }
    std::vector<Seed> seeds;
    AddShopPages(seeds);
    AddRefusals(seeds);
    AddTextSeeds(seeds);
    AddWebSeeds(seeds);
    AddMemberSeeds(seeds);
    for (const Seed& seed : seeds) {
        const std::filesystem::path dir = std::filesystem::path(argv[1]) / seed.target;
        std::filesystem::create_directories(dir);
        std::ofstream(dir / seed.name, std::ios::binary) << seed.bytes;
    }
    return 0;
}
