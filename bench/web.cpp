// The web module's hot paths: searching and converting a large GBK page, and HttpRequest over
// HTTPS on loopback, once with the client's shared connection cache and once with every request
// opening and closing its own connection. Ends with one `name = value` line per figure:
//
//   findtext_mb_per_s            FindText over 1 MB of GBK text (the sought text sits at the end)
//   gbk_to_utf8_mb_per_s         GbkToUtf8 over the same megabyte
//   requests_per_s_shared        sequential HTTPS requests with connections kept
//   requests_per_s_fresh         the same with connection reuse forbidden
//   https_shared_vs_fresh_ratio  shared / fresh (goal >= 15)

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <unistd.h>

#include "support/OneCpu.h"
#include "support/ThrowawayTls.h"
#include "support/TlsReplyServer.h"
#include "text/Gbk.h"
#include "text/Text.h"
#include "text/Encoding.h"
#include "web/HttpRequest.h"
#include "web/HttpSettings.h"

namespace {

using namespace korvel;

constexpr char Host[] = "bench.taobao.com";
constexpr char Marker[] = "J_KorvelBenchEnd";

// A real shop page in GBK, repeated to one megabyte, the marker last.
std::string MegabyteOfGbk()
{
    const auto fixtures = std::filesystem::path(__FILE__).parent_path() / "../../shared/fixtures";
    std::ifstream in(fixtures / "real-shop-pages/tmall-search-browser-saved-2018.html.php");
    std::ostringstream utf8;
    utf8 << in.rdbuf();
    const std::string shopPage = gbk::FromUtf8(utf8.str());
    std::string page;
    while (!shopPage.empty() && page.size() < (1u << 20))
        page += shopPage;
    page.resize(1u << 20);
    page.replace(page.size() - sizeof Marker, sizeof Marker - 1, Marker);
    return page;
}

const std::string& Page()
{
    static const std::string page = MegabyteOfGbk();
    return page;
}

void FindTextMegabyte(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(FindText(Page(), Marker));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Page().size()));
}

void GbkToUtf8Megabyte(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(GbkToUtf8(Page()));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Page().size()));
}

void HttpsRequests(benchmark::State& state, bool reuse)
{
    SetConnectionReuse(reuse);
    const std::string url = std::string("https://") + Host + "/item?id=1";
    for (auto _ : state) {
        if (HttpRequest(url).size() != 2048) {
            state.SkipWithError("a request failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    CloseIdleConnections();
}

BENCHMARK(FindTextMegabyte);
BENCHMARK(GbkToUtf8Megabyte);
// Wall-clock time: the server's work happens on other threads.
BENCHMARK_CAPTURE(HttpsRequests, shared, true)->MinTime(1.0)->UseRealTime();
BENCHMARK_CAPTURE(HttpsRequests, fresh, false)->MinTime(1.0)->UseRealTime();

// Keeps each run's rates for the closing lines.
class Capture : public benchmark::ConsoleReporter {
public:
    // Colour only on a terminal, so the closing lines reach a pipe without escape codes.
    Capture() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            for (const auto& [name, counter] : run.counters)
                rates[run.benchmark_name() + " " + name] = counter.value;
        }
    }
    double rate(const std::string& key) const
    {
        const auto found = rates.find(key);
        return found == rates.end() ? 0 : found->second;
    }

private:
    std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv)
{
    // Before the server's threads start, so they share the CPU with the client.
    const bool oneCpu = tools::StayOnOneCpu();
    const std::string dir = tools::MakeTempDir("korvel-bench-web");
    const auto tls = tools::MakeThrowawayTls(dir, {"*.taobao.com"});
    if (!tls || Page().size() != (1u << 20) || FindText(Page(), Marker) < 0) {
        std::fprintf(stderr, "could not prepare the TLS material or the GBK page\n");
        return 1;
    }
    // Every item request gets 2 KB; the server is lean enough that the client's own cost shows.
    const tools::TlsReplyServer server(*tls, std::string(2048, 'i'));
    if (server.port() == 0) {
        std::fprintf(stderr, "could not start the HTTPS server\n");
        return 1;
    }
    SetConnectTo(std::string(Host) + ":443:127.0.0.1:" + std::to_string(server.port()));
    SetExtraCaFile(tls->caCert);

    benchmark::Initialize(&argc, argv);
    Capture capture;
    benchmark::RunSpecifiedBenchmarks(&capture);
    benchmark::Shutdown();
    ResetHttpSettings();
    std::filesystem::remove_all(dir);

    const double mb = 1024.0 * 1024.0;
    const double shared = capture.rate("HttpsRequests/shared/min_time:1.000/real_time items_per_second");
    const double fresh = capture.rate("HttpsRequests/fresh/min_time:1.000/real_time items_per_second");
    std::printf("findtext_mb_per_s = %.1f\n", capture.rate("FindTextMegabyte bytes_per_second") / mb);
    std::printf("gbk_to_utf8_mb_per_s = %.1f\n", capture.rate("GbkToUtf8Megabyte bytes_per_second") / mb);
    std::printf("client_and_server_on_one_cpu = %d\n", oneCpu ? 1 : 0);
    std::printf("requests_per_s_shared = %.0f\n", shared);
    std::printf("requests_per_s_fresh = %.0f\n", fresh);
    std::printf("https_shared_vs_fresh_ratio = %.1f\n", fresh > 0 ? shared / fresh : 0.0);
    return 0;
}
