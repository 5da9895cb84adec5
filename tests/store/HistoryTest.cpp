#include <gtest/gtest.h>

#include <filesystem>

#include "store/StoreTempDir.h"
#include "store/StoreTestSupport.h"
#include "support/TestGbk.h"

namespace korvel::test {
namespace {

constexpr char Host[] = "shop.taobao.com";

void Record(Store& history, const std::vector<CollectionRun>& runs)
{
    for (const CollectionRun& run : runs)
        ASSERT_TRUE(history.record(run).ok());
}

bool SameProduct(const Product& a, const Product& b)
{
    return a.id == b.id && a.picture == b.picture && a.title == b.title && a.salePrice == b.salePrice &&
           a.marketPrice == b.marketPrice && a.sold == b.sold && a.reviews == b.reviews && a.page == b.page &&
           a.position == b.position;
}

class HistoryTest : public ::testing::Test {
protected:
    StoreTempDir dir;
    std::unique_ptr<Store> history = OpenAt(dir.file("nested/folder/korvel.sqlite"));
};

TEST_F(HistoryTest, ARunReadsBackAsItWasCollected)
{
    std::vector<Product> items = {Item("1", "10", "5", Gbk("连衣裙 &amp; 外套")), Item("2", "20"), Item("1", "11"),
                                  Item("3", "")};
    items[2].page = 2;
    items[3].page = 3;
    items[3].title = std::string("nul\0byte\xff", 9);
    CollectionRun run = ShopRun(items);
    run.end = RunEnd::Incomplete;
    run.pageCount = 4;
    run.pagesCollected = 3;
    run.lostPages = {{4, Gbk("第 4 页未能取得")}};
    run.started = std::chrono::system_clock::time_point(std::chrono::milliseconds(1'700'000'000'123));
    Record(*history, {run, ShopRun({Item("1", "10")}), run});

    for (std::int64_t number : {1, 3}) {
        const auto products = ProductsOf(*history, Host, number);
        ASSERT_TRUE(products.ok());
        ASSERT_EQ(products.value().size(), run.products.size());
        for (size_t i = 0; i < run.products.size(); ++i)
            EXPECT_TRUE(SameProduct(products.value()[i], run.products[i])) << "run " << number << " row " << i;
    }
    const auto runs = history->runs(Host);
    ASSERT_TRUE(runs.ok());
    ASSERT_EQ(runs.value().size(), 3u);
    const RunSummary& first = runs.value()[0];
    EXPECT_EQ(first.number, 1);
    EXPECT_EQ(first.end, RunEnd::Incomplete);
    EXPECT_EQ(first.started, run.started);
    EXPECT_EQ(first.productCount, 4);
    EXPECT_EQ(first.pageCount, 4);
    ASSERT_EQ(first.lostPages.size(), 1u);
    EXPECT_EQ(first.lostPages[0].cause, run.lostPages[0].cause);
    EXPECT_EQ(first.version, "3.8");
    EXPECT_TRUE(runs.value()[1].lostPages.empty());
    EXPECT_EQ(history->shops().value(), std::vector<std::string>{Host});
}

struct StoredCase {
    const char* name;
    std::vector<CollectionRun> runs;
    NothingToCompare nothing;
    std::vector<std::string> expected;
};

CollectionRun FailedRun()
{
    CollectionRun run = ShopRun({}, RunEnd::Failed);
    run.failureCause = "no pages";
    return run;
}

const StoredCase StoredCases[] = {
    {"NoRunYet", {}, NothingToCompare::NoRun, {}},
    {"OnlyFailedRuns", {FailedRun()}, NothingToCompare::NoRun, {}},
    {"OneRunHasNothingBeforeIt", {ShopRun({Item("1", "1")})}, NothingToCompare::NoEarlierComplete, {}},
    {"FailedAndInterruptedRunsAreNeverCompared",
     {ShopRun({Item("1", "1")}), ShopRun({Item("1", "2")}, RunEnd::Interrupted), FailedRun()},
     NothingToCompare::NoEarlierComplete, {}},
    {"AnIncompleteRunIsNoBaseline",
     {ShopRun({Item("1", "1")}), ShopRun({Item("1", "2")}, RunEnd::Incomplete), ShopRun({Item("1", "3")})},
     NothingToCompare::None, {"price 1 1>3 2 200.00"}},
    {"NoFalseRemovalWhenIncomplete",
     {ShopRun({Item("1", "1"), Item("2", "1")}), ShopRun({Item("2", "1")}, RunEnd::Incomplete)}, NothingToCompare::None, {}},
    {"AbsentInTheBaselineIsNewAgain",
     {ShopRun({Item("1", "1"), Item("2", "1")}), ShopRun({Item("2", "1")}), ShopRun({Item("1", "1"), Item("2", "1")})},
     NothingToCompare::None, {"new 1 ->T - -"}},
    {"LowestOverEveryEarlierCompleteRun",
     {ShopRun({Item("1", "100")}), ShopRun({Item("1", "100")}), ShopRun({Item("1", "60")}, RunEnd::Incomplete),
      ShopRun({Item("1", "90")})},
     NothingToCompare::None, {"price 1 100>90 -10 -10.00", "lowest 1 100>90 -10 -10.00"}},
    {"NotLowestAboveAnEarlierPrice",
     {ShopRun({Item("1", "80")}), ShopRun({Item("1", "100")}), ShopRun({Item("1", "90")})}, NothingToCompare::None,
     {"price 1 100>90 -10 -10.00"}},
    {"ChangesAndRemovalsTogether",
     {ShopRun({Item("1", "1"), Item("2", "1"), Item("3", "1")}), ShopRun({Item("3", "1", "9"), Item("4", "1"), Item("1", "1")})},
     NothingToCompare::None, {"sold 3 5>9 4 80.00", "new 4 ->T - -", "removed 2 T>- - -"}},
};

class StoredChanges : public ::testing::TestWithParam<StoredCase> {};

TEST_P(StoredChanges, RunsInChangesOut)
{
    StoreTempDir dir;
    auto history = OpenAt(dir.file());
    Record(*history, GetParam().runs);
    const auto report = history->changes(Host);
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(report.value().nothing, GetParam().nothing);
    EXPECT_EQ(Shown(report.value().changes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, StoredChanges, ::testing::ValuesIn(StoredCases),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(HistoryTest, TheSeriesHasTheRunsThatShowedTheProduct)
{
    Record(*history, {ShopRun({Item("1", "10", "1")}), ShopRun({Item("1", "10", "1")}), ShopRun({Item("2", "5")}),
                      ShopRun({Item("1", "8", "4")}), ShopRun({Item("1", "10", "1")}, RunEnd::Incomplete),
                      ShopRun({Item("1", "9")}, RunEnd::Complete, "other.tmall.com")});
    const auto series = history->series(Host, "1");
    ASSERT_TRUE(series.ok());
    std::vector<std::string> shown;
    for (const SeriesPoint& point : series.value())
        shown.push_back(std::to_string(point.run) + ":" + point.salePrice + "/" + point.sold);
    EXPECT_EQ(shown, (std::vector<std::string>{"1:10/1", "2:10/1", "4:8/4", "5:10/1"}));
    EXPECT_TRUE(history->series(Host, "none").value().empty());
}

TEST(HistorySize, AnUnchangedProductCostsARunAtMostSixteenBytes)
{
    StoreTempDir dir;
    std::vector<Product> products;
    for (int i = 0; i < 5000; ++i)
        products.push_back(Item(std::to_string(5'000'000'000 + i), std::to_string(i % 300) + ".00"));
    std::uintmax_t sizes[3] = {};
    for (auto& size : sizes) {
        auto history = OpenAt(dir.file());
        Record(*history, {ShopRun(products)});
        history.reset();  // the last connection's close folds the WAL into the file
        size = std::filesystem::file_size(dir.file());
    }
    EXPECT_LE(double(sizes[2] - sizes[1]) / double(products.size()), 16.0);
}

}  // namespace
}  // namespace korvel::test
