#include <gtest/gtest.h>

#include "../store/DamagedRuns.h"
#include "../store/StoreTempDir.h"
#include "PgTestDatabase.h"
#include "pgstore/PgRecords.h"
#include "store/ChangeRows.h"
#include "store/Store.h"

namespace korvel::pg {
namespace {

using batch::BatchStart;
using batch::ShopOutcome;

std::vector<Product> Items(const CollectionRun& run)
{
    return std::vector<Product>(run.products.begin(), run.products.end());
}

void Renumber(CollectionRun& run)
{
    std::vector<Product> items = Items(run);
    for (size_t i = 0; i < items.size(); ++i)
        items[i].position = int(i + 1);
    run.products = RunProducts(std::move(items));
}

// The runs of one shop over four days: unchanged, a price cut, a product gone and one added, an ID
// repeated on a later page, and a day that lost a page.
std::vector<CollectionRun> FourDays()
{
    std::vector<CollectionRun> days(4, SampleRun("a.tmall.com", RunEnd::Complete, 20));
    std::vector<Product> changed = Items(days[2]);
    changed[2].salePrice = "8.80";
    changed.erase(changed.begin() + 5);
    changed.push_back(changed[0]);
    changed.back().title = "again";
    changed.push_back({"9999", "//img/n.jpg", "new", "12", "15", "0", "0", 3, 0});
    days[2].products = RunProducts(std::move(changed));
    days[3] = SampleRun("a.tmall.com", RunEnd::Incomplete, 12);
    std::vector<Product> sold = Items(days[3]);
    sold[0].sold = "7";
    days[3].products = RunProducts(std::move(sold));
    for (size_t i = 0; i < days.size(); ++i) {
        days[i].started += std::chrono::hours(24 * i);
        days[i].ended += std::chrono::hours(24 * i);
        Renumber(days[i]);
    }
    return days;
}

// Each run in a batch of its own, named after its start.
std::string RecordDays(Store& store, const std::vector<CollectionRun>& days)
{
    for (size_t i = 0; i < days.size(); ++i) {
        const std::string batch = "day" + std::to_string(days[i].started.time_since_epoch().count());
        const auto begun = store.beginBatch(batch, {days[i].shopHost}, BatchStart::Continue);
        if (!begun.ok())
            return begun.error().cause;
        const auto recorded = store.recordInBatch(batch, days[i], ShopOutcome::Complete);
        if (!recorded.ok())
            return recorded.error().cause;
    }
    return "";
}

TEST_F(PgStoreTest, UnchangedProductsOnlyExtendTheirStates)
{
    auto store = open();
    ASSERT_TRUE(store);
    const std::vector<CollectionRun> days = FourDays();
    ASSERT_EQ(RecordDays(*store, days), "");
    // 20 first states; day 1 adds none; day 2 a price and a new product (the repeat kept whole);
    // day 3 a sold count and the price back (the product missing on day 2 comes back unchanged).
    EXPECT_EQ(count("product"), 21);
    EXPECT_EQ(count("state"), 24);
    EXPECT_EQ(count("repeat_row"), 1);
    for (size_t i = 0; i < days.size(); ++i) {
        const auto back = store->run("a.tmall.com", std::int64_t(i + 1));
        ASSERT_TRUE(back.ok()) << back.error().cause;
        ExpectSameRun(back.value(), days[i]);
    }
}

TEST_F(PgStoreTest, AKilledRecordingLeavesTheRowsOfOneUninterruptedRun)
{
    const CollectionRun run = SampleRun("a.tmall.com", RunEnd::Complete, 30);
    ASSERT_TRUE(open());
    {
        // Killed before its commit: the server rolls the transaction back.
        Connection killed(uri_, 10);
        Transaction transaction(killed);
        RecordRun(killed, run, "9.9");
    }
    auto store = open();
    ASSERT_TRUE(store->beginBatch("day", {"a.tmall.com"}, BatchStart::Continue).ok());
    ASSERT_TRUE(store->recordInBatch("day", run, ShopOutcome::Complete).ok());
    const long long counts[] = {1, 1, 0, 1, 30, 30, 0, 1, 1, 0};
    for (size_t i = 0; i < std::size(Tables); ++i)
        EXPECT_EQ(count(Tables[i]), counts[i]) << Tables[i];
}

// What the console prints for --runs and --changes --jsonl depends only on these values.
std::string Reported(Store& history, const std::string& host)
{
    auto runs = history.runs(host);
    auto changes = history.changes(host);
    if (!runs.ok() || !changes.ok())
        return "unreadable";
    std::string text;
    for (const RunSummary& run : runs.value()) {
        text += std::to_string(run.number) + " " + std::to_string(run.started.time_since_epoch().count()) +
                " " + std::to_string(run.ended.time_since_epoch().count()) + " " +
                std::to_string(int(run.end)) + " " + std::to_string(run.pagesCollected) + "/" +
                std::to_string(run.pageCount) + " " + std::to_string(run.productCount) + " " + run.version +
                " " + run.failureCause;
        for (const LostPage& page : run.lostPages)
            text += " " + std::to_string(page.page) + ":" + page.cause;
        text += "\n";
    }
    const ChangeReport& report = changes.value();
    return text + std::to_string(int(report.nothing)) + " " + std::to_string(report.before.number) + "->" +
           std::to_string(report.after.number) + "\n" + ChangesJsonLines(ChangeRows(report));
}

TEST_F(PgStoreTest, BothStoresReportTheSameRunsAndChanges)
{
    test::StoreTempDir folder;
    auto sqlite = OpenStore(folder.file(), "9.9");
    ASSERT_TRUE(sqlite.ok());
    auto store = open();
    ASSERT_TRUE(store);
    auto pg = OpenStore(uri_, "9.9");
    ASSERT_TRUE(pg.ok()) << pg.error().cause;
    const std::vector<CollectionRun> days = FourDays();
    EXPECT_EQ(Reported(*pg.value(), "a.tmall.com"), Reported(*sqlite.value(), "a.tmall.com"));
    for (size_t day = 0; day < days.size(); ++day) {
        ASSERT_EQ(RecordDays(*store, {days[day]}), "");
        ASSERT_TRUE(sqlite.value()->record(days[day]).ok());
        // Day 1 is unchanged, day 2 has each kind of change, day 3 lost a page.
        const std::string want = Reported(*sqlite.value(), "a.tmall.com");
        EXPECT_NE(want, "unreadable");
        EXPECT_EQ(Reported(*pg.value(), "a.tmall.com"), want) << "after day " << day;
    }
}

// A damaged run is the history's fault, reported as such by every reading of it; the earlier run
// still reads.
TEST_F(PgStoreTest, ADamagedRunIsReportedNotFatal)
{
    auto store = open();
    ASSERT_TRUE(store);
    const std::vector<CollectionRun> days = FourDays();
    ASSERT_EQ(RecordDays(*store, {days[0], days[1]}), "");
    auto pg = OpenStore(uri_, "9.9");
    ASSERT_TRUE(pg.ok()) << pg.error().cause;
    Connection connection(uri_, 10);
    connection.exec("CREATE TABLE saved_items AS SELECT * FROM run_items");
    connection.exec("CREATE TABLE saved_counts AS SELECT id, product_count FROM run");
    for (const test::RunDamage& damage : test::RunDamages) {
        connection.exec(damage.postgres);
        const auto changes = pg.value()->changes("a.tmall.com");
        ASSERT_FALSE(changes.ok()) << damage.name;
        EXPECT_NE(changes.error().cause.find("damaged"), std::string::npos)
            << damage.name << ": " << changes.error().cause;
        const auto damaged = store->run("a.tmall.com", 2);
        ASSERT_FALSE(damaged.ok()) << damage.name;
        EXPECT_NE(damaged.error().cause.find("damaged"), std::string::npos)
            << damage.name << ": " << damaged.error().cause;
        EXPECT_TRUE(store->run("a.tmall.com", 1).ok()) << damage.name;
        connection.exec(
            "UPDATE run_items r SET products = s.products, pages = s.pages FROM saved_items s"
            " WHERE r.run = s.run");
        connection.exec(
            "UPDATE run r SET product_count = s.product_count FROM saved_counts s WHERE r.id = s.id");
    }
    EXPECT_TRUE(pg.value()->changes("a.tmall.com").ok());
}

}  // namespace
}  // namespace korvel::pg
