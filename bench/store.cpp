// The shared PostgreSQL store against the SQLite file of one machine: recording one run of 50,000
// products into each (a fresh shop every round: every product new), side by side; and 4 shard
// processes of one batch at once against one PostgreSQL over 1 process doing all 200 demo shops
// (store_pg_4_shards_vs_1_ratio, wall time on this machine). Needs a server: KORVEL_TEST_PG_URI
// (scripts/lib/postgres.sh's start_postgres sets it); every database the benchmark makes there is
// its own and dropped. Figures are medians of interleaved rounds with their spreads (Rounds.h).

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Programs.h"
#include "Rounds.h"
#include "demo-shop/DemoShop.h"
#include "pgstore/Pg.h"
#include "store/Store.h"

namespace {

using namespace korvel;
namespace fs = std::filesystem;

constexpr int kProducts = 50000;
constexpr int kShops = 200;
constexpr int kShards = 4;

[[noreturn]] void Fail(const std::string& why)
{
    std::fprintf(stderr, "korvel-bench-store: %s\n", why.c_str());
    std::exit(1);
}

CollectionRun BigRun(const std::string& host)
{
    CollectionRun run;
    run.shopHost = host;
    run.end = RunEnd::Complete;
    run.pageCount = kProducts / 60 + 1;
    run.pagesCollected = run.pageCount;
    run.started = run.ended = std::chrono::system_clock::now();
    std::vector<Product> products;
    for (int i = 0; i < kProducts; ++i) {
        // Titles of typical length, in GBK.
        products.push_back({std::to_string(600000000000LL + i), "//img.example/" + std::to_string(i) + ".jpg",
                            std::string(40, '\xB5') + std::to_string(i), "128.00", "199.00",
                            std::to_string(i % 1000), std::to_string(i % 97), 1 + i / 60, i + 1});
    }
    run.products = RunProducts(std::move(products));
    return run;
}

// Databases of this benchmark in the server of KORVEL_TEST_PG_URI, dropped when it ends.
class Databases {
public:
    explicit Databases(std::string admin) : admin_(std::move(admin)) {}
    ~Databases()
    {
        for (const std::string& name : made_) {
            try {
                pg::Connection(admin_, 10).exec(("DROP DATABASE IF EXISTS " + name + " WITH (FORCE)").c_str());
            } catch (const pg::PgFailure&) {
                std::fprintf(stderr, "korvel-bench-store: could not drop %s\n", name.c_str());
            }
        }
    }
    // A new empty database; its URI.
    std::string fresh()
    {
        const std::string name = "korvel_bench_" + std::to_string(::getpid()) + "_" + std::to_string(made_.size());
        try {
            pg::Connection(admin_, 10).exec(("CREATE DATABASE " + name).c_str());
        } catch (const pg::PgFailure& failure) {
            Fail(failure.message);
        }
        made_.push_back(name);
        return admin_.substr(0, admin_.rfind('/') + 1) + name;
    }

private:
    std::string admin_;
    std::vector<std::string> made_;
};

double Milliseconds(std::chrono::steady_clock::time_point start)
{
    return bench::SecondsSince(start) * 1000;
}

// The two stores record one fresh 50,000-product shop each per round.
std::vector<bench::Series> RecordBothStores(Databases& databases, const std::string& folder)
{
    auto pgStore = OpenStore(databases.fresh(), "bench");
    if (!pgStore.ok())
        Fail(pgStore.error().cause);
    auto sqlite = OpenStore(folder + "/history.sqlite", "bench");
    if (!sqlite.ok())
        Fail("cannot open the SQLite store: " + sqlite.error().cause);
    std::string error;
    int pgRound = 0, sqliteRound = 0;
    bench::Measure pgSide = [&]() -> double {
        const CollectionRun run = BigRun("pg" + std::to_string(pgRound++) + ".taobao.com");
        if (const auto begun = pgStore.value()->beginBatch("bench", {run.shopHost}, batch::BatchStart::Continue);
            !begun.ok()) {
            error = begun.error().cause;
            return -1;
        }
        const auto started = std::chrono::steady_clock::now();
        const auto recorded = pgStore.value()->recordInBatch("bench", run, batch::ShopOutcome::Complete);
        if (!recorded.ok())
            error = recorded.error().cause;
        return recorded.ok() ? Milliseconds(started) : -1;
    };
    bench::Measure sqliteSide = [&]() -> double {
        const CollectionRun run = BigRun("sqlite" + std::to_string(sqliteRound++) + ".taobao.com");
        const auto started = std::chrono::steady_clock::now();
        const auto recorded = sqlite.value()->record(run);
        if (!recorded.ok())
            error = recorded.error().cause;
        return recorded.ok() ? Milliseconds(started) : -1;
    };
    auto series = bench::Interleave({pgSide, sqliteSide}, {0, 5, 5});
    if (!series)
        Fail("recording failed: " + error);
    return *series;
}

// Wall milliseconds of the batch over the list in `shards` processes at once, into a new database.
double Batch(Databases& databases, const std::string& folder, int shards)
{
    const std::string store = databases.fresh();
    const auto started = std::chrono::steady_clock::now();
    std::vector<pid_t> running;
    for (int shard = 0; shard < shards; ++shard) {
        std::vector<std::string> args = {"--batch", folder + "/shops.txt", "--store", store, "--delay", "0",
                                         "--out", folder + "/out" + std::to_string(shard)};
        if (shards > 1)
            args.insert(args.end(), {"--shard", std::to_string(shard) + "/" + std::to_string(shards)});
        running.push_back(bench::StartBeside("korvel-collect", args));
        if (running.back() < 0)
            Fail("cannot start korvel-collect");
    }
    bool ok = true;
    for (pid_t pid : running)
        ok = bench::Finish(pid) == 0 && ok;
    return ok ? Milliseconds(started) : -1;
}

std::vector<bench::Series> ShardsAgainstOne(Databases& databases, const std::string& folder)
{
    demo::DemoShopOptions options;
    options.pages = 5;
    demo::DemoShop shop(options);
    if (!shop.start())
        Fail("the demo shop did not start");
    std::string routes;
    std::ofstream list(folder + "/shops.txt");
    for (int n = 1; n <= kShops; ++n) {
        const std::string host = "bench" + std::to_string(n) + (n % 2 ? ".taobao.com" : ".tmall.com");
        list << host << "\n";
        routes += (routes.empty() ? "" : ",") + shop.connectTo(host);
    }
    list.close();
    ::setenv("KORVEL_CONNECT_TO", routes.c_str(), 1);
    ::setenv("KORVEL_CA_FILE", shop.caFile().c_str(), 1);
    auto series = bench::Interleave({[&] { return Batch(databases, folder, kShards); },
                                     [&] { return Batch(databases, folder, 1); }},
                                    {0, 3, 3});
    if (!series)
        Fail("a batch failed");
    return *series;
}

}  // namespace

int main()
{
    const char* admin = std::getenv("KORVEL_TEST_PG_URI");
    if (admin == nullptr || *admin == '\0')
        Fail("KORVEL_TEST_PG_URI is not set: start a server with scripts/lib/postgres.sh (start_postgres)");
    const std::string folder = fs::temp_directory_path() / ("korvel-bench-store-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::vector<bench::Series> record, shards;
    {
        Databases databases(admin);
        record = RecordBothStores(databases, folder);
        shards = ShardsAgainstOne(databases, folder);
    }
    fs::remove_all(folder);
    bench::PrintGoalFigure("store_pg_record_50k_ms", record[0].median(), 0, record[0]);
    bench::PrintFigure("store_sqlite_record_50k_ms", record[1].median(), 0);
    bench::PrintFigure("store_pg_4_shards_ms", shards[0].median(), 0);
    bench::PrintFigure("store_pg_1_process_ms", shards[1].median(), 0);
    bench::PrintGoalFigure("store_pg_4_shards_vs_1_ratio", bench::RatioOfMedians(shards[0], shards[1]), 3,
                           bench::Quotients(shards[0], shards[1]));
    return 0;
}
