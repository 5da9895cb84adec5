// A 50-page demo shop collected through a relay that delays every chunk by 10 ms each way: a
// 20 ms round trip, as between a user and a shop's servers. Every page costs at least one round
// trip, so requests x 20 ms is the limit no client can beat:
//
//   wan_collect_vs_rtt_limit    wall time / (requests x 20 ms), kept connections (goal <= 1.15)
//   wan_fresh_vs_shared_ratio   the run with reuse forbidden / the run with kept connections
//                               (a fresh TLS 1.3 connection costs two more round trips: near 3)
//
// The two runs take turns, round after round (see Rounds.h), on the wall clock: a run mostly
// waits for the relay. Each figure comes from the median of its rounds.

#include <chrono>
#include <cstdio>

#include "QuietScreen.h"
#include "Rounds.h"
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

// One whole run from a cold start, as a user's: no connection is left from the run before.
// `requests` gets the number each run made.
bench::Measure Run(demo::DemoShop& shop, bool reuse, std::size_t expectedRows, bench::Series& requests)
{
    return [&shop, reuse, expectedRows, &requests] {
        SetConnectionReuse(reuse);
        shop.clearRequests();
        CloseIdleConnections();
        const double seconds = korvel::TimedRun(Host, expectedRows);
        requests.add(static_cast<double>(shop.requests().size()));
        return seconds;
    };
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

    bench::Series keptRequests, freshRequests;
    const auto rounds = bench::Interleave(
        {Run(shop, true, expectedRows, keptRequests), Run(shop, false, expectedRows, freshRequests)},
        {.minSecondsPerSide = 0.5, .minRounds = 3});
    ResetHttpSettings();
    if (!rounds) {
        std::fprintf(stderr, "a run did not collect all %zu products\n", expectedRows);
        return 1;
    }
    const bench::Series& kept = (*rounds)[0];
    const bench::Series& fresh = (*rounds)[1];
    const double roundTrip = 2 * std::chrono::duration<double>(OneWay).count();
    // Each kept run against the limit its own requests set.
    const bench::Series vsLimit = bench::EachRound(
        kept, keptRequests, [&](double seconds, double n) { return seconds / (n * roundTrip); });
    std::printf("client_and_server_on_one_cpu = %d\n", oneCpu ? 1 : 0);
    std::printf("wan_round_trip_ms = %.0f\n", roundTrip * 1000);
    std::printf("wan_pages = %d\n", Pages);
    std::printf("wan_rounds = %zu\n", kept.rounds());
    std::printf("wan_requests = %.0f\n", keptRequests.median());
    std::printf("wan_rtt_limit_seconds = %.4f\n", keptRequests.median() * roundTrip);
    bench::PrintFigure("wan_collect_seconds", kept.median(), 4);
    bench::PrintFigure("wan_fresh_seconds", fresh.median(), 4);
    bench::PrintGoalFigure("wan_collect_vs_rtt_limit", vsLimit.median(), 3, vsLimit);
    std::printf("wan_collect_vs_rtt_limit_goal = 1.15\n");
    bench::PrintFigure("wan_fresh_vs_shared_ratio", bench::RatioOfMedians(fresh, kept), 2);
    return 0;
}
