// A batch of 200 demo shops of 5 pages each, no delay, through korvel-collect: its wall time
// against the same shops collected one after another by the single-shop command with --no-store
// (batch_overhead_ratio: what recording and checkpoints cost), and how soon a batch killed with
// SIGKILL in the middle makes its first request again (batch_resume_first_request_ms). Ends with
// "name = value" lines.

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
#include "demo-shop/DemoShop.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kShops = 200;

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

    auto started = Clock::now();
    for (const std::string& host : hosts) {
        if (Finish(Start({"--no-store", host})) != 0)
            Fail("the single-shop command failed for " + host);
    }
    const double single = Since(started);

    started = Clock::now();
    if (Finish(Start({"--batch", work + "/shops.txt", "--store", work + "/whole.sqlite", "--delay", "0"})) != 0)
        Fail("the batch failed");
    const double batch = Since(started);

    // Killed half-way (by the shop's request count), then started again.
    shop.clearRequests();
    const pid_t killed = Start({"--batch", work + "/shops.txt", "--store", work + "/killed.sqlite", "--delay", "0"});
    while (shop.requests().size() < static_cast<size_t>(kShops * 5 / 2))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ::kill(killed, SIGKILL);
    Finish(killed);
    shop.clearRequests();
    started = Clock::now();
    const pid_t resumed = Start({"--batch", work + "/shops.txt", "--store", work + "/killed.sqlite", "--delay", "0"});
    while (shop.requests().empty())
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    const double firstRequest = Since(started);
    if (Finish(resumed) != 0)
        Fail("the resumed batch failed");
    fs::remove_all(work);

    std::printf("batch_shops = %d\n", kShops);
    std::printf("batch_seconds = %.3f\n", batch / 1000);
    std::printf("single_commands_seconds = %.3f\n", single / 1000);
    std::printf("batch_overhead_ratio = %.3f\n", batch / single);
    std::printf("batch_resume_first_request_ms = %.0f\n", firstRequest);
    return 0;
}
