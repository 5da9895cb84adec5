// A whole collection run of a 200-page demo shop (20 entries a page) over HTTPS on loopback, as
// the start button makes it, once with the client's shared connection cache and once with every
// request opening and closing its own connection:
//
//   collect_shared_seconds         the run with connections kept
//   collect_fresh_seconds          the run with reuse forbidden
//   collect_shared_vs_fresh_ratio  fresh / shared (goal >= 5: the local demo shop takes its own
//                                  share of the one CPU for every handshake, which a remote shop
//                                  does not, so the ratio here is far below the web benchmark's)
//
// Client and shop share one CPU (see support/OneCpu.h), as in the web benchmark. The two runs take
// turns, round after round (see Rounds.h); each time is the median of its rounds.

#include <cstdio>
#include <string>

#include "QuietScreen.h"
#include "Rounds.h"
#include "collect/RunCollection.h"
#include "demo-shop/DemoShop.h"
#include "support/OneCpu.h"
#include "web/HttpSettings.h"

namespace {

using namespace korvel;

constexpr char Host[] = "bench.taobao.com";
constexpr int Pages = 200;

// One whole run, timed on the process's processor clock: client and shop share one CPU and the run
// never waits on a timer, so that is the run's time without the slices other programs took.
bench::Measure Run(bool reuse, std::size_t expectedRows)
{
    return bench::PerCall(
        [=] {
            SetConnectionReuse(reuse);
            return TimedRun(Host, expectedRows) >= 0;
        },
        0, bench::Timing::ProcessCpu);
}

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

    // A kept run lasts a few hundredths of a second: enough rounds that its median settles.
    const auto rounds = bench::Interleave({Run(true, expectedRows), Run(false, expectedRows)},
                                          {.minSecondsPerSide = 0.5, .minRounds = 21});
    ResetHttpSettings();
    if (!rounds) {
        std::fprintf(stderr, "a run did not collect all %zu products\n", expectedRows);
        return 1;
    }
    const bench::Series& shared = (*rounds)[0];
    const bench::Series& fresh = (*rounds)[1];

    std::printf("client_and_server_on_one_cpu = %d\n", oneCpu ? 1 : 0);
    std::printf("collect_pages = %d\n", Pages);
    std::printf("collect_products = %zu\n", expectedRows);
    std::printf("collect_rounds = %zu\n", shared.rounds());
    bench::PrintFigure("collect_shared_seconds", shared.median(), 4);
    bench::PrintFigure("collect_fresh_seconds", fresh.median(), 4);
    bench::PrintGoalFigure("collect_shared_vs_fresh_ratio", bench::RatioOfMedians(fresh, shared), 2,
                           bench::Quotients(fresh, shared));
    return 0;
}
