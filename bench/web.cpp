// The web module's hot paths: searching and converting a large GBK page, and Send over
// HTTPS on loopback, once with the client's shared connection cache and once with every request
// opening and closing its own connection. Ends with one `name = value` line per figure:
//
//   findtext_mb_per_s            FindText over 1 MB of GBK text (the sought text sits at the end)
//   gbk_to_utf8_mb_per_s         GbkToUtf8 over the same megabyte
//   requests_per_s_shared        sequential HTTPS requests with connections kept
//   requests_per_s_fresh         the same with connection reuse forbidden
//   https_shared_vs_fresh_ratio  shared / fresh (goal >= 15)
//
// Kept and fresh requests take turns, round after round (see Rounds.h); each rate comes from the
// median of its rounds.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "Rounds.h"
#include "support/OneCpu.h"
#include "support/ThrowawayTls.h"
#include "support/TlsReplyServer.h"
#include "text/Gbk.h"
#include "text/Text.h"
#include "text/Encoding.h"
#include "web/HttpCall.h"
#include "web/HttpSettings.h"

namespace {

using namespace korvel;

constexpr char Host[] = "bench.taobao.com";
constexpr char Marker[] = "J_KorvelBenchEnd";

const std::string ShopPageFile =
    std::string(KORVEL_SOURCE_DIR) +
    "/../shared/fixtures/real-shop-pages/tmall-search-browser-saved-2018.html.php";

// A real shop page in GBK, repeated to one megabyte, the marker last; empty when the page cannot be
// read (a megabyte of zero bytes would be searched and converted in no time, and mislead).
std::string MegabyteOfGbk()
{
    std::ifstream in(ShopPageFile);
    std::ostringstream utf8;
    utf8 << in.rdbuf();
    const std::string shopPage = gbk::FromUtf8(utf8.str());
    if (shopPage.empty())
        return {};
    std::string page;
    while (page.size() < (1u << 20))
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

// The text operations never wait: the thread's processor time is their cost.
bench::Measure TextOperation(std::function<bool()> operation)
{
    return bench::PerCall(std::move(operation), 0.01, bench::Timing::ThreadCpu);
}

// Sequential requests, timed on the process's processor clock: client and server share one CPU and
// neither waits on a timer. A batch of kept requests starts on a connection already open, as every
// request but the first does in a long series.
bench::Measure Requests(bool reuse)
{
    const std::string url = std::string("https://") + Host + "/item?id=1";
    auto batch =
        bench::PerCall([url] { return Send({.url = url}).body.size() == 2048; }, 0.01, bench::Timing::ProcessCpu);
    return [url, reuse, batch]() mutable {
        SetConnectionReuse(reuse);
        if (reuse && Send({.url = url}).body.size() != 2048)
            return -1.0;
        return batch();
    };
}

}  // namespace

int main()
{
    // Before the server's threads start, so they share the CPU with the client.
    const bool oneCpu = tools::StayOnOneCpu();
    const std::string dir = tools::MakeTempDir("korvel-bench-web");
    const auto tls = tools::MakeThrowawayTls(dir, {"*.taobao.com"});
    if (Page().empty()) {
        std::fprintf(stderr, "cannot read the shop page %s\n", ShopPageFile.c_str());
        return 1;
    }
    if (!tls || FindText(Page(), Marker) < 0) {
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

    const auto text = bench::Interleave({TextOperation([] { return FindText(Page(), Marker) > 0; }),
                                         TextOperation([] { return !GbkToUtf8(Page()).empty(); })});
    // A fresh request's handshakes make its rounds the noisier side: more of them settle its median.
    const auto requests =
        bench::Interleave({Requests(true), Requests(false)}, {.minSecondsPerSide = 1.5, .minRounds = 40});
    CloseIdleConnections();
    ResetHttpSettings();
    std::filesystem::remove_all(dir);
    if (!text || !requests) {
        std::fprintf(stderr, "a search, a conversion or a request failed\n");
        return 1;
    }
    const bench::Series& shared = (*requests)[0];
    const bench::Series& fresh = (*requests)[1];

    const double megabyte = 1024.0 * 1024.0;
    bench::PrintFigure("findtext_mb_per_s", Page().size() / megabyte / (*text)[0].median(), 1);
    bench::PrintFigure("gbk_to_utf8_mb_per_s", Page().size() / megabyte / (*text)[1].median(), 1);
    std::printf("client_and_server_on_one_cpu = %d\n", oneCpu ? 1 : 0);
    std::printf("requests_rounds = %zu\n", shared.rounds());
    bench::PrintFigure("requests_per_s_shared", 1 / shared.median(), 0);
    bench::PrintFigure("requests_per_s_fresh", 1 / fresh.median(), 0);
    bench::PrintGoalFigure("https_shared_vs_fresh_ratio", bench::RatioOfMedians(fresh, shared), 1,
                           bench::Quotients(fresh, shared));
    return 0;
}
