// Recording into the shared PostgreSQL store: one run of 50,000 products, as a shard records a
// big shop. Needs a server: KORVEL_TEST_PG_URI (scripts/lib/postgres.sh's start_postgres sets it);
// the benchmark makes a database of its own there and drops it. Ends with "name = value" lines.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pgstore/Pg.h"
#include "pgstore/PgStore.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kProducts = 50000;
constexpr int kRounds = 5;

[[noreturn]] void Fail(const std::string& why)
{
    std::fprintf(stderr, "korvel-bench-store: %s\n", why.c_str());
    std::exit(1);
}

korvel::CollectionRun BigRun(const std::string& host)
{
    korvel::CollectionRun run;
    run.shopHost = host;
    run.end = korvel::RunEnd::Complete;
    run.pageCount = kProducts / 60 + 1;
    run.pagesCollected = run.pageCount;
    run.started = run.ended = std::chrono::system_clock::now();
    for (int i = 0; i < kProducts; ++i) {
        // Titles of typical length, in GBK.
        run.products.push_back({std::to_string(600000000000LL + i), "//img.example/" + std::to_string(i) + ".jpg",
                                std::string(40, '\xB5') + std::to_string(i), "128.00", "199.00",
                                std::to_string(i % 1000), std::to_string(i % 97), 1 + i / 60, i + 1});
    }
    return run;
}

}  // namespace

int main()
{
    const char* admin = std::getenv("KORVEL_TEST_PG_URI");
    if (admin == nullptr || *admin == '\0')
        Fail("KORVEL_TEST_PG_URI is not set: start a server with scripts/lib/postgres.sh (start_postgres)");
    const std::string database = "korvel_bench_" + std::to_string(::getpid());
    try {
        korvel::pg::Connection(admin, 10).exec(("CREATE DATABASE " + database).c_str());
    } catch (const korvel::pg::PgFailure& failure) {
        Fail(failure.message);
    }
    const std::string uri = std::string(admin).substr(0, std::string(admin).rfind('/') + 1) + database;
    std::string error;
    auto store = korvel::pg::PgStore::Open(uri, "bench", error);
    if (!store)
        Fail(error);
    std::vector<double> times;
    for (int round = 0; round < kRounds; ++round) {
        const std::string host = "shop" + std::to_string(round) + ".taobao.com";
        const korvel::CollectionRun run = BigRun(host);
        if (!store->begin("bench", {host}, korvel::batch::BatchStart::Continue))
            Fail(store->lastError());
        const auto started = Clock::now();
        if (!store->record("bench", run, korvel::batch::ShopOutcome::Complete))
            Fail(store->lastError());
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - started).count());
    }
    store.reset();
    korvel::pg::Connection(admin, 10).exec(("DROP DATABASE " + database + " WITH (FORCE)").c_str());
    std::sort(times.begin(), times.end());
    std::printf("store_pg_record_50k_ms = %.0f\n", times[times.size() / 2]);
    return 0;
}
