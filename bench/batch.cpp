// A batch of 200 demo shops of 5 pages each, no delay, through korvel-collect: its wall time
// recording into a store against the same batch with --no-store, one process each
// (batch_overhead_ratio: what recording and checkpoints cost), and how soon a batch killed with
// SIGKILL in the middle makes its first request again (batch_resume_first_request_ms), each the
// median of rounds in which the sides take turns. Ends with "name = value" lines.

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "Programs.h"
#include "Rounds.h"
#include "demo-shop/DemoShop.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kShops = 200;
// Each round collects the shops about four times over: three rounds give a median and a spread.
constexpr int kRounds = 3;

[[noreturn]] void Fail(const std::string& why)
{
    std::fprintf(stderr, "korvel-bench-batch: %s\n", why.c_str());
    std::exit(1);
}

// korvel-collect beside this program, its output to /dev/null.
pid_t Start(std::vector<std::string> args)
{
    const pid_t pid = korvel::bench::StartBeside("korvel-collect", std::move(args));
    if (pid < 0)
        Fail("cannot start korvel-collect");
    return pid;
}

using korvel::bench::Finish;

double Since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main()
{
    korvel::demo::DemoShopOptions options;
    options.pages = 5;
    korvel::demo::DemoShop shop(options);
    if (!shop.start())
        Fail("the demo shop did not start");
    const std::string work = fs::temp_directory_path() / ("korvel-bench-batch-" + std::to_string(::getpid()));
    fs::create_directories(work);
    std::string routes;
    std::vector<std::string> hosts;
    std::ofstream list(work + "/shops.txt");
    for (int n = 1; n <= kShops; ++n) {
        hosts.push_back("bench" + std::to_string(n) + (n % 2 ? ".taobao.com" : ".tmall.com"));
        list << hosts.back() << "\n";
        routes += (routes.empty() ? "" : ",") + shop.connectTo(hosts.back());
    }
    list.close();
    ::setenv("KORVEL_CONNECT_TO", routes.c_str(), 1);
    ::setenv("KORVEL_CA_FILE", shop.caFile().c_str(), 1);

    // The two batches take turns, the recording one with a store of its own each round, so a burst
    // of load weighs on both alike; the resume is measured once per round too.
    int round = 0;
    const auto unrecorded = [&] {
        const auto started = Clock::now();
        if (Finish(Start({"--batch", work + "/shops.txt", "--no-store", "--delay", "0"})) != 0)
            Fail("the batch with --no-store failed");
        return Since(started);
    };
    const auto whole = [&] {
        const std::string store = work + "/whole-" + std::to_string(round) + ".sqlite";
        const auto started = Clock::now();
        if (Finish(Start({"--batch", work + "/shops.txt", "--store", store, "--delay", "0"})) != 0)
            Fail("the batch failed");
        return Since(started);
    };
    // Killed half-way (by the shop's request count), then started again.
    const auto resume = [&] {
        const std::string store = work + "/killed-" + std::to_string(round) + ".sqlite";
        shop.clearRequests();
        const pid_t killed = Start({"--batch", work + "/shops.txt", "--store", store, "--delay", "0"});
        while (shop.requests().size() < static_cast<size_t>(kShops * 5 / 2))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ::kill(killed, SIGKILL);
        Finish(killed);
        shop.clearRequests();
        const auto started = Clock::now();
        const pid_t resumed = Start({"--batch", work + "/shops.txt", "--store", store, "--delay", "0"});
        while (shop.requests().empty())
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        const double firstRequest = Since(started);
        if (Finish(resumed) != 0)
            Fail("the resumed batch failed");
        return firstRequest;
    };
    korvel::bench::Series unstored, batch, firstRequest;
    for (round = 0; round < kRounds; ++round) {
        unstored.add(unrecorded());
        batch.add(whole());
        firstRequest.add(resume());
    }
    fs::remove_all(work);

    using korvel::bench::PrintFigure;
    using korvel::bench::PrintGoalFigure;
    std::printf("batch_shops = %d\n", kShops);
    PrintFigure("batch_seconds", batch.median() / 1000, 3);
    PrintFigure("batch_no_store_seconds", unstored.median() / 1000, 3);
    PrintGoalFigure("batch_overhead_ratio", korvel::bench::RatioOfMedians(batch, unstored), 3,
                    korvel::bench::Quotients(batch, unstored));
    PrintGoalFigure("batch_resume_first_request_ms", firstRequest.median(), 0, firstRequest);
    return 0;
}
