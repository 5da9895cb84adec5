// A 50-page demo shop collected through a relay that delays every chunk by 10 ms each way: a
// 20 ms round trip, as between a user and a shop's servers. Every page costs at least one round
// trip, so requests x 20 ms is the limit no client can beat:
//
//   wan_collect_vs_rtt_limit    wall time / (requests x 20 ms), kept connections (goal <= 1.15)
//   wan_fresh_vs_shared_ratio   the run with reuse forbidden / the run with kept connections
//                               (a fresh TLS 1.3 connection costs two more round trips: near 3)

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "QuietScreen.h"
#include "collect/RunCollection.h"
#include "demo-shop/DemoShop.h"
#include "support/DelayRelay.h"
#include "support/OneCpu.h"
#include "web/HttpSettings.h"

namespace {

using namespace korvel;

constexpr char Host[] = "wan.taobao.com";
constexpr int Pages = 50;
constexpr auto OneWay = std::chrono::milliseconds(10);

struct Timed {
    double seconds = -1;  // negative when the run did not collect every product
    std::size_t requests = 0;
};

Timed MeasuredRun(demo::DemoShop& shop, std::size_t expectedRows)
{
    shop.clearRequests();
    CloseIdleConnections();
    const double seconds = korvel::TimedRun(Host, expectedRows);
    return {seconds, shop.requests().size()};
}

}  // namespace

int main()
{
    // Before the shop's and the relay's threads start: on a virtual machine a wake-up across CPUs
    // costs more than the client's whole work on a page, which a remote server never adds.
    const bool oneCpu = tools::StayOnOneCpu();
    demo::DemoShopOptions options;
    options.pages = Pages;
    demo::DemoShop shop(options);
    if (!shop.start()) {
        std::fprintf(stderr, "the demo shop did not start\n");
        return 1;
    }
    tools::DelayRelay relay(shop.port(), OneWay);
    SetConnectTo(std::string(Host) + ":443:127.0.0.1:" + std::to_string(relay.port()));
    SetExtraCaFile(shop.caFile());
    const std::size_t expectedRows = demo::ExpectedItems(options, demo::Marketplace::Taobao).size();

    SetConnectionReuse(true);
    Timed kept = MeasuredRun(shop, expectedRows);  // also warms the CA bundle and the page tables
    for (int round = 0; round < 2 && kept.seconds > 0; ++round) {
        const Timed again = MeasuredRun(shop, expectedRows);
        if (again.seconds < kept.seconds || again.seconds < 0)
            kept = again;
    }
    SetConnectionReuse(false);
    const Timed fresh = MeasuredRun(shop, expectedRows);
    ResetHttpSettings();
    if (kept.seconds <= 0 || fresh.seconds <= 0) {
        std::fprintf(stderr, "a run did not collect all %zu products\n", expectedRows);
        return 1;
    }
    const double roundTrip = 2 * std::chrono::duration<double>(OneWay).count();
    std::printf("client_and_server_on_one_cpu = %d\n", oneCpu ? 1 : 0);
    std::printf("wan_round_trip_ms = %.0f\n", roundTrip * 1000);
    std::printf("wan_pages = %d\n", Pages);
    std::printf("wan_requests = %zu\n", kept.requests);
    std::printf("wan_rtt_limit_seconds = %.4f\n", kept.requests * roundTrip);
    std::printf("wan_collect_seconds = %.4f\n", kept.seconds);
    std::printf("wan_fresh_seconds = %.4f\n", fresh.seconds);
    std::printf("wan_collect_vs_rtt_limit = %.3f\n", kept.seconds / (kept.requests * roundTrip));
    std::printf("wan_collect_vs_rtt_limit_goal = 1.15\n");
    std::printf("wan_fresh_vs_shared_ratio = %.2f\n", fresh.seconds / kept.seconds);
    return 0;
}
