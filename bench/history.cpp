// The shop history: recording a large run, the changes between two large runs, one product's
// series in a year of daily runs, and what an unchanged product costs on disk. Each figure is the
// median of several measurements, printed with its spread (see Rounds.h).

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Rounds.h"
#include "Rounds.h"
#include "store/Store.h"
#include "support/ThrowawayTls.h"

namespace {

using namespace korvel;
namespace fs = std::filesystem;

constexpr int Repeats = 7;
constexpr char Host[] = "bench.taobao.com";

std::vector<Product> Products(int count, int run, int changedPerMille)
{
    std::vector<Product> products(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        Product& p = products[size_t(i)];
        p.id = std::to_string(600'000'000'000LL + i);
        p.picture = "//img.alicdn.com/bao/uploaded/i" + std::to_string(i % 4) + "/" + p.id + ".jpg";
        p.title = "\xc1\xac\xd2\xc2\xc8\xb9 " + std::to_string(i) + " \xd0\xc2\xbf\xee";  // 连衣裙 … 新款
        const bool changed = (i * 7919 + run * 104729) % 1000 < changedPerMille;
        p.salePrice = std::to_string(100 + i % 400 + (changed ? run % 50 : 0)) + ".00";
        p.marketPrice = std::to_string(200 + i % 400) + ".00";
        p.sold = std::to_string(i % 900);
        p.reviews = std::to_string(i % 300);
        p.page = i / 60 + 1;
        p.position = i + 1;
    }
    return products;
}

CollectionRun Run(std::vector<Product> products)
{
    CollectionRun run;
    run.shopHost = Host;
    run.end = RunEnd::Complete;
    run.pageCount = int(products.size() / 60 + 1);
    run.pagesCollected = run.pageCount;
    run.products = RunProducts(std::move(products));
    return run;
}

std::unique_ptr<Store> Open(const std::string& path)
{
    auto opened = OpenStore(path, "bench");
    if (!opened.ok()) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        std::exit(1);
    }
    return std::move(opened.value());
}

void Record(Store& history, const CollectionRun& run)
{
    if (!history.record(run).ok()) {
        std::fprintf(stderr, "recording failed\n");
        std::exit(1);
    }
}

// The store works on this thread alone, on a file the page cache holds: its processor time, so
// other programs on the machine do not count (as bench/Rounds.h times such work).
double Ms(const std::function<void()>& work)
{
    const double start = bench::Seconds(bench::Timing::ThreadCpu);
    work();
    return (bench::Seconds(bench::Timing::ThreadCpu) - start) * 1000;
}

void Print(const char* name, std::vector<double> values)
{
    const bench::Series rounds(std::move(values));
    bench::PrintGoalFigure(name, rounds.median(), 2, rounds);
}

void RecordBench(const std::string& dir)
{
    const CollectionRun run = Run(Products(50'000, 1, 0));
    std::vector<double> times;
    for (int i = 0; i < Repeats; ++i) {
        const std::string path = dir + "/record" + std::to_string(i) + ".sqlite";
        auto history = Open(path);
        times.push_back(Ms([&] { Record(*history, run); }));
    }
    Print("history_record_50k_ms", times);
}

void ChangesBench(const std::string& dir)
{
    auto history = Open(dir + "/changes.sqlite");
    Record(*history, Run(Products(50'000, 1, 0)));
    Record(*history, Run(Products(50'000, 2, 50)));
    std::vector<double> times;
    size_t changes = 0;
    for (int i = 0; i < Repeats; ++i)
        times.push_back(Ms([&] { changes = history->changes(Host).value().changes.size(); }));
    std::printf("changes between the two runs: %zu\n", changes);
    Print("history_changes_50k_ms", times);
}

void SeriesBench(const std::string& dir)
{
    auto history = Open(dir + "/series.sqlite");
    for (int run = 1; run <= 365; ++run)
        Record(*history, Run(Products(1000, run, 20)));
    std::vector<double> times;
    size_t points = 0;
    for (int i = 0; i < Repeats * 3; ++i) {
        const std::string id = std::to_string(600'000'000'000LL + (i * 137) % 1000);
        times.push_back(Ms([&] { points = history->series(Host, id).value().size(); }));
    }
    std::printf("points in a series: %zu\n", points);
    Print("history_series_ms", times);
}

// The file grows a page at a time: each measurement spans several runs.
void BytesBench(const std::string& dir)
{
    constexpr int RunsPerMeasurement = 3;
    const CollectionRun run = Run(Products(50'000, 1, 0));
    std::vector<double> bytes;
    const std::string path = dir + "/bytes.sqlite";
    std::uintmax_t before = 0;
    for (int i = 0; i <= Repeats; ++i) {
        for (int k = 0; k < (i == 0 ? 1 : RunsPerMeasurement); ++k)
            Record(*Open(path), run);  // closing the last connection folds the WAL in
        const std::uintmax_t size = fs::file_size(path);
        if (i > 0)
            bytes.push_back(double(size - before) / double(RunsPerMeasurement * run.products.size()));
        before = size;
    }
    Print("history_bytes_per_unchanged_product", bytes);
}

}  // namespace

int main()
{
    const std::string dir = tools::MakeTempDir("korvel-bench-history");
    RecordBench(dir);
    ChangesBench(dir);
    SeriesBench(dir);
    BytesBench(dir);
    fs::remove_all(dir);
    return 0;
}
