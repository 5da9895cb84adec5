// A whole collection run of a 200-page demo shop (20 entries a page) over HTTPS on loopback, as
// the start button makes it, once with the client's shared connection cache and once with every
// request opening and closing its own connection:
//
//   collect_shared_seconds         the run with connections kept (best of three)
//   collect_fresh_seconds          the run with reuse forbidden
//   collect_shared_vs_fresh_ratio  fresh / shared (goal >= 15)
//
// Client and shop share one CPU (see support/OneCpu.h), as in the web benchmark.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "QuietScreen.h"
#include "collect/RunCollection.h"
#include "demo-shop/DemoShop.h"
#include "support/OneCpu.h"
#include "web/HttpSettings.h"

namespace {

using namespace korvel;

constexpr char Host[] = "bench.taobao.com";
constexpr int Pages = 200;

}  // namespace

int main()
{
    // Before the shop's threads start, so they share the CPU with the collection.
    const bool oneCpu = tools::StayOnOneCpu();
    demo::DemoShopOptions options;
    options.pages = Pages;
    demo::DemoShop shop(options);
    if (!shop.start()) {
        std::fprintf(stderr, "the demo shop did not start\n");
        return 1;
    }
    SetConnectTo(shop.connectTo(Host));
    SetExtraCaFile(shop.caFile());
    const std::size_t expectedRows = demo::ExpectedItems(options, demo::Marketplace::Taobao).size();

    SetConnectionReuse(true);
    double shared = TimedRun(Host, expectedRows);  // also warms the CA bundle and the page tables
    for (int round = 0; round < 2 && shared > 0; ++round)
        shared = std::min(shared, TimedRun(Host, expectedRows));
    SetConnectionReuse(false);
    const double fresh = TimedRun(Host, expectedRows);
    ResetHttpSettings();
    if (shared <= 0 || fresh <= 0) {
        std::fprintf(stderr, "a run did not collect all %zu products\n", expectedRows);
        return 1;
    }

    std::printf("client_and_server_on_one_cpu = %d\n", oneCpu ? 1 : 0);
    std::printf("collect_pages = %d\n", Pages);
    std::printf("collect_products = %zu\n", expectedRows);
    std::printf("collect_shared_seconds = %.4f\n", shared);
    std::printf("collect_fresh_seconds = %.4f\n", fresh);
    std::printf("collect_shared_vs_fresh_ratio = %.2f\n", fresh / shared);
    return 0;
}
