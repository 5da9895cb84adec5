// korvel-collect's history reports on a store this test fills itself: the formats, exit statuses
// and the lines on stderr.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>

#include "store/CollectProgram.h"
#include "store/DamagedRuns.h"
#include "store/StoreTempDir.h"
#include "store/StoreTestSupport.h"
#include "support/TestGbk.h"

namespace korvel::test {
namespace {

namespace fs = std::filesystem;

constexpr char Host[] = "shop.taobao.com";

class ChangesCliTest : public ::testing::Test {
protected:
    Finished Run(std::vector<std::string> args, std::vector<std::string> environment = {}) const
    {
        return RunCollect(dir.path, std::move(args), std::move(environment));
    }

    void Record(const std::vector<CollectionRun>& runs) const
    {
        auto history = OpenAt(store);
        for (const CollectionRun& run : runs)
            ASSERT_TRUE(history->record(run).ok());
    }

    StoreTempDir dir;
    std::string store = dir.file("history.sqlite");
};

TEST_F(ChangesCliTest, JsonLinesAndCsvCarryEveryChange)
{
    CollectionRun latest = ShopRun({Item("2", "90", "7", Gbk("新款 &amp; 热卖")), Item("3", "5")});
    Record({ShopRun({Item("1", "1", "5", "gone"), Item("2", "100.00", "4", "old")}), latest});

    const Finished jsonl = Run({"--changes", Host, "--store", store, "--jsonl", "-"});
    EXPECT_EQ(jsonl.status, 0) << jsonl.errors;
    EXPECT_EQ(jsonl.output,
              "{\"shop\":\"shop.taobao.com\",\"id\":\"2\",\"kind\":\"price\",\"before\":\"100.00\",\"after\":\"90\","
              "\"delta\":-10.00,\"percent\":-10.00,\"title\":\"新款 & 热卖\",\"run_before\":1,\"run_after\":2}\n"
              "{\"shop\":\"shop.taobao.com\",\"id\":\"2\",\"kind\":\"title\",\"before\":\"old\",\"after\":\"新款 & 热卖\","
              "\"delta\":null,\"percent\":null,\"title\":\"新款 & 热卖\",\"run_before\":1,\"run_after\":2}\n"
              "{\"shop\":\"shop.taobao.com\",\"id\":\"2\",\"kind\":\"sold\",\"before\":\"4\",\"after\":\"7\","
              "\"delta\":3,\"percent\":75.00,\"title\":\"新款 & 热卖\",\"run_before\":1,\"run_after\":2}\n"
              "{\"shop\":\"shop.taobao.com\",\"id\":\"2\",\"kind\":\"lowest\",\"before\":\"100.00\",\"after\":\"90\","
              "\"delta\":-10.00,\"percent\":-10.00,\"title\":\"新款 & 热卖\",\"run_before\":1,\"run_after\":2}\n"
              "{\"shop\":\"shop.taobao.com\",\"id\":\"3\",\"kind\":\"new\",\"before\":null,\"after\":\"T\","
              "\"delta\":null,\"percent\":null,\"title\":\"T\",\"run_before\":1,\"run_after\":2}\n"
              "{\"shop\":\"shop.taobao.com\",\"id\":\"1\",\"kind\":\"removed\",\"before\":\"gone\",\"after\":null,"
              "\"delta\":null,\"percent\":null,\"title\":\"gone\",\"run_before\":1,\"run_after\":2}\n");

    const Finished csv = Run({"--changes", Host, "--store", store, "--csv", dir.file("changes.csv")});
    EXPECT_EQ(csv.status, 0) << csv.errors;
    const std::string written = ReadAll(dir.file("changes.csv"));
    EXPECT_TRUE(written.starts_with("\xEF\xBB\xBFshop,id,kind,before,after,delta,percent,title,run_before,run_after\r\n"
                                    "shop.taobao.com,2,price,100.00,90,-10.00,-10.00,新款 & 热卖,1,2\r\n"))
        << written;

    const Finished table = Run({"--changes", Host, "--store", store});
    EXPECT_EQ(table.status, 0);
    EXPECT_NE(table.output.find("price        2  100.00 -> 90  -10.00 (-10.00%)  新款 & 热卖"), std::string::npos)
        << table.output;
}

TEST_F(ChangesCliTest, LostPagesAreNamedAndNothingToCompareIsNoFailure)
{
    CollectionRun incomplete = ShopRun({Item("1", "1")}, RunEnd::Incomplete);
    incomplete.lostPages = {{3, Gbk("连接超时")}};
    Record({incomplete});
    for (const char* format : {"--jsonl", "--csv"}) {
        const Finished done = Run({"--changes", Host, "--store", store, format, dir.file("out.txt")});
        EXPECT_EQ(done.status, 0);
        EXPECT_EQ(done.errors,
                  "第 3 页未能取得（连接超时），该页上的商品不算作已下架\n"
                  "korvel-collect: nothing to compare yet: shop.taobao.com has no complete run before run 1\n");
    }
    const Finished runs = Run({"--runs", Host, "--store", store});
    EXPECT_EQ(runs.status, 0);
    EXPECT_EQ(runs.output, "1\t1970-01-01T00:00:00Z\t1970-01-01T00:00:00Z\tincomplete\t1/1\t3\t1\n");
}

TEST_F(ChangesCliTest, BadArgumentsAndUnreadableStores)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--changes", Host, "--store", store, "--no-store"},
        {"--changes", Host, "--runs", Host},
        {"--changes", Host, "other.taobao.com"},
        {"--runs", Host, "--csv", "x.csv"},
        {"--jsonl", "-", Host},
        {Host, "--store", store, "--no-store"},
        {"--changes", ""},
    };
    for (const auto& args : bad)
        EXPECT_EQ(Run(args).status, 2) << args[0] << " " << args[1] << " " << args.back();

    std::ofstream(dir.file("text.sqlite")) << "not a database, but long enough to have a header of its own......"
                                              "................................................................";
    for (const char* command : {"--changes", "--runs"}) {
        const Finished done = Run({command, Host, "--store", dir.file("text.sqlite")});
        EXPECT_EQ(done.status, 1);
        EXPECT_TRUE(done.errors.starts_with("korvel-collect: 该文件不是 Korvel 的历史记录")) << done.errors;
    }
    const Finished fresh = Run({"--changes", Host, "--store", dir.file("new/fresh.sqlite")});
    EXPECT_EQ(fresh.status, 0);
    EXPECT_TRUE(fs::exists(dir.file("new/fresh.sqlite")));
}

// A run whose blob claims more pages than any run holds: once an abort (exit 134), now the
// history's damage with its cause.
TEST_F(ChangesCliTest, ADamagedHistoryIsExitOne)
{
    Record({ShopRun({Item("1", "10")}), ShopRun({Item("1", "12")})});
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(store.c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, RunDamages[0].sqlite, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const Finished done = Run({"--changes", Host, "--store", store});
    EXPECT_EQ(done.status, 1) << done.errors;
    EXPECT_TRUE(done.errors.starts_with("korvel-collect: 历史记录文件已损坏")) << done.errors;
}

TEST_F(ChangesCliTest, AHistoryThatCannotBeWrittenCostsTheRunOneLine)
{
    const std::string notAStore = dir.file("notes.txt");
    const std::string text(4096, 'x');
    std::ofstream(notAStore) << text;
    // Nothing listens on port 1: the run fails at once, and is recorded as failed.
    const std::vector<std::string> refused = {"KORVEL_CONNECT_TO=shop.taobao.com:443:127.0.0.1:1"};
    const Finished done = Run({Host, "--store", notAStore, "--retries", "0"}, refused);
    EXPECT_EQ(done.status, 1);
    EXPECT_NE(done.errors.find("\n历史记录未保存：该文件不是 Korvel 的历史记录"), std::string::npos) << done.errors;
    EXPECT_EQ(ReadAll(notAStore), text);

    const Finished recorded = Run({Host, "--store", store, "--retries", "0"}, refused);
    EXPECT_EQ(recorded.status, 1);
    EXPECT_EQ(recorded.errors.find("历史记录未保存"), std::string::npos) << recorded.errors;
    const Finished runs = Run({"--runs", Host, "--store", store});
    EXPECT_NE(runs.output.find("\tfailed\t0/0\t-\t0\n"), std::string::npos) << runs.output;
    EXPECT_EQ(Run({Host, "--no-store", "--retries", "0"}, refused).status, 1);
}

}  // namespace
}  // namespace korvel::test
