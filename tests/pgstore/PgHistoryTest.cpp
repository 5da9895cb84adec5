#include <gtest/gtest.h>

#include "../store/DamagedRuns.h"
#include "../store/StoreTempDir.h"
#include "PgTestDatabase.h"
#include "pgstore/PgHistory.h"
#include "pgstore/PgRecords.h"
#include "store/ChangeRows.h"
#include "store/History.h"

namespace korvel::pg {
namespace {

using batch::BatchStart;
using batch::ShopOutcome;

void Renumber(CollectionRun& run)
{
    for (size_t i = 0; i < run.products.size(); ++i)
        run.products[i].position = int(i + 1);
}

// The runs of one shop over four days: unchanged, a price cut, a product gone and one added, an ID
// repeated on a later page, and a day that lost a page.
std::vector<CollectionRun> FourDays()
{
    std::vector<CollectionRun> days(4, SampleRun("a.tmall.com", RunEnd::Complete, 20));
    days[2].products[2].salePrice = "8.80";
    days[2].products.erase(days[2].products.begin() + 5);
    days[2].products.push_back(days[2].products[0]);
    days[2].products.back().title = "again";
    days[2].products.push_back({"9999", "//img/n.jpg", "new", "12", "15", "0", "0", 3, 0});
    days[3] = SampleRun("a.tmall.com", RunEnd::Incomplete, 12);
    days[3].products[0].sold = "7";
    for (size_t i = 0; i < days.size(); ++i) {
        days[i].started += std::chrono::hours(24 * i);
        days[i].ended += std::chrono::hours(24 * i);
        Renumber(days[i]);
    }
    return days;
}

// Each run in a batch of its own, named after its start.
std::string RecordDays(PgStore& store, const std::vector<CollectionRun>& days)
{
    for (size_t i = 0; i < days.size(); ++i) {
        const std::string batch = "day" + std::to_string(days[i].started.time_since_epoch().count());
        if (!store.begin(batch, {days[i].shopHost}, BatchStart::Continue) ||
            !store.record(batch, days[i], ShopOutcome::Complete))
            return store.lastError();
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
        const auto back = store->loadRun("a.tmall.com", std::int64_t(i + 1));
        ASSERT_TRUE(back) << store->lastError();
        ExpectSameRun(*back, days[i]);
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
    ASSERT_TRUE(store->begin("day", {"a.tmall.com"}, BatchStart::Continue));
    ASSERT_TRUE(store->record("day", run, ShopOutcome::Complete));
    const long long counts[] = {1, 1, 0, 1, 30, 30, 0, 1, 1};
    for (size_t i = 0; i < std::size(Tables); ++i)
        EXPECT_EQ(count(Tables[i]), counts[i]) << Tables[i];
}

// What the console prints for --runs and --changes --jsonl depends only on these values.
std::string Reported(HistoryReading& history, const std::string& host)
{
    auto runs = history.runs(host);
    auto changes = history.changes(host);
    if (!runs.ok() || !changes.ok())
        return "unreadable";
    std::string text;
    for (const RunSummary& run : runs.value()) {
        text += std::to_string(run.number) + " " + std::to_string(run.started.time_since_epoch().count()) + " " +
                std::to_string(run.ended.time_since_epoch().count()) + " " + std::to_string(int(run.end)) + " " +
                std::to_string(run.pagesCollected) + "/" + std::to_string(run.pageCount) + " " +
                std::to_string(run.productCount) + " " + run.version + " " + run.failureCause;
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
    auto sqlite = History::Open(folder.file());
    ASSERT_TRUE(sqlite.ok());
    auto store = open();
    ASSERT_TRUE(store);
    auto pg = PgHistory::Open(uri_);
    ASSERT_TRUE(pg.ok()) << pg.error().cause;
    const std::vector<CollectionRun> days = FourDays();
    EXPECT_EQ(Reported(*pg.value(), "a.tmall.com"), Reported(*sqlite.value(), "a.tmall.com"));
    for (size_t day = 0; day < days.size(); ++day) {
        ASSERT_EQ(RecordDays(*store, {days[day]}), "");
        ASSERT_TRUE(sqlite.value()->record(days[day], "9.9").ok());
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
    auto pg = PgHistory::Open(uri_);
    ASSERT_TRUE(pg.ok()) << pg.error().cause;
    Connection connection(uri_, 10);
    connection.exec("CREATE TABLE saved_items AS SELECT * FROM run_items");
    connection.exec("CREATE TABLE saved_counts AS SELECT id, product_count FROM run");
    for (const test::RunDamage& damage : test::RunDamages) {
        connection.exec(damage.postgres);
        const auto changes = pg.value()->changes("a.tmall.com");
        ASSERT_FALSE(changes.ok()) << damage.name;
        EXPECT_NE(changes.error().cause.find("damaged"), std::string::npos) << damage.name << ": " << changes.error().cause;
        EXPECT_FALSE(store->loadRun("a.tmall.com", 2)) << damage.name;
        EXPECT_NE(store->lastError().find("damaged"), std::string::npos) << damage.name << ": " << store->lastError();
        EXPECT_TRUE(store->loadRun("a.tmall.com", 1)) << damage.name;
        connection.exec("UPDATE run_items r SET products = s.products, pages = s.pages FROM saved_items s"
                        " WHERE r.run = s.run");
        connection.exec("UPDATE run r SET product_count = s.product_count FROM saved_counts s WHERE r.id = s.id");
    }
    EXPECT_TRUE(pg.value()->changes("a.tmall.com").ok());
}

}  // namespace
}  // namespace korvel::pg
