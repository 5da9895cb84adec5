// korvel-collect --batch killed with SIGKILL while a shop is in flight, then run again: what the
// demo shop is asked for, what the store, the folder and the JSON Lines hold afterwards.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "demo-shop/DemoShop.h"
#include "demo-shop/ShopRequest.h"
#include "store/CollectProgram.h"
#include "store/StoreTempDir.h"

namespace korvel::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const std::vector<std::string> Shops = {"k1.taobao.com", "k2.taobao.com", "k3.taobao.com", "k4.taobao.com"};

// Each shop's requests in order: "HOST pageNo=N".
std::vector<std::string> Asked(const demo::DemoShop& shop)
{
    std::vector<std::string> asked;
    for (const demo::RecordedRequest& request : shop.requests())
        asked.push_back(demo::HostOf(request) + " " + request.body);
    return asked;
}

std::vector<std::string> Pages(const std::string& host)
{
    return {host + " pageNo=1", host + " pageNo=2", host + " pageNo=3"};
}

class KilledBatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        demo::DemoShopOptions options;
        options.itemsPerPage = 4;
        // Slow enough that a shop is in flight for a while, fast enough for a short test.
        options.delay = std::chrono::milliseconds(100);
        shop.setOptions(options);
        ASSERT_TRUE(shop.start());
        std::ofstream(dir.file("shops.txt")) << "k1.taobao.com\nk2.taobao.com\nk3.taobao.com\nk4.taobao.com\n";
    }

    pid_t StartBatch() const
    {
        std::string routes;
        for (const std::string& host : Shops)
            routes += (routes.empty() ? "" : ",") + shop.connectTo(host);
        return StartCollect(dir.path,
                            {"--batch", dir.file("shops.txt"), "--batch-id", "day", "--store", store, "--out",
                             dir.file("csv"), "--jsonl", dir.file("all.jsonl"), "--delay", "0", "--retries", "0"},
                            {"KORVEL_CONNECT_TO=" + routes, "KORVEL_CA_FILE=" + shop.caFile(),
                             "XDG_DATA_HOME=" + dir.path});
    }

    // Polls the shop's log until `request` is among its requests; false after 20 s.
    bool AwaitRequest(const std::string& request) const
    {
        for (const auto until = Clock::now() + std::chrono::seconds(20); Clock::now() < until;) {
            const auto asked = Asked(shop);
            if (std::find(asked.begin(), asked.end(), request) != asked.end())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return false;
    }

    StoreTempDir dir;
    std::string store = dir.file("history.sqlite");
    demo::DemoShop shop;
};

TEST_F(KilledBatchTest, AResumedBatchAsksAgainOnlyForTheShopInFlight)
{
    const pid_t killed = StartBatch();
    ASSERT_GT(killed, 0);
    ASSERT_TRUE(AwaitRequest("k2.taobao.com pageNo=2"));
    ::kill(killed, SIGKILL);
    EXPECT_EQ(WaitCollect(dir.path, killed).status, -1);
    const std::vector<std::string> before = Asked(shop);
    ASSERT_EQ(std::vector<std::string>(before.begin(), before.begin() + 3), Pages("k1.taobao.com"));

    // What a kill during the JSON Lines write or before the rename of a shop's CSV leaves behind.
    std::ofstream(dir.file("all.jsonl"), std::ios::app)
        << "{\"type\":\"product\",\"shop\":\"k2.taobao.com\",\"id\":\"520000100001\"}\n{\"type\":\"prod";
    std::ofstream(dir.file("csv/.k2.taobao.com.csv.korvel-99999-1.tmp")) << "序号,";

    shop.clearRequests();
    const auto start = Clock::now();
    const pid_t resumed = StartBatch();
    ASSERT_TRUE(AwaitRequest("k2.taobao.com pageNo=1"));
    const auto firstRequest = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    const Finished done = WaitCollect(dir.path, resumed);
    EXPECT_EQ(done.status, 0) << done.errors;
    // A generous bound: the start-up under the sanitizers is a fraction of it.
    EXPECT_LT(firstRequest.count(), 2000);

    std::vector<std::string> expected;
    for (const char* host : {"k2.taobao.com", "k3.taobao.com", "k4.taobao.com"})
        for (const std::string& page : Pages(host))
            expected.push_back(page);
    EXPECT_EQ(Asked(shop), expected);

    std::set<std::string> files;
    for (const auto& entry : fs::directory_iterator(dir.file("csv")))
        files.insert(entry.path().filename().string());
    EXPECT_EQ(files, (std::set<std::string>{"k1.taobao.com.csv", "k2.taobao.com.csv", "k3.taobao.com.csv",
                                            "k4.taobao.com.csv"}));

    std::ifstream jsonl(dir.file("all.jsonl"));
    std::vector<std::string> summaries;
    int products = 0;
    for (std::string line; std::getline(jsonl, line);) {
        products += line.starts_with("{\"type\":\"product\"");
        if (line.starts_with("{\"type\":\"shop\""))
            summaries.push_back(line.substr(0, line.find(",\"outcome\"")));
    }
    EXPECT_EQ(products, 4 * 3 * 4);
    std::vector<std::string> shopLines;
    for (const std::string& host : Shops)
        shopLines.push_back("{\"type\":\"shop\",\"shop\":\"" + host + "\"");
    EXPECT_EQ(summaries, shopLines);

    for (const std::string& host : Shops) {
        const Finished runs = RunCollect(dir.path, {"--runs", host, "--store", store});
        EXPECT_EQ(std::count(runs.output.begin(), runs.output.end(), '\n'), 1) << host << "\n" << runs.output;
    }
}

// A scheduler stops a task with SIGTERM: the batch ends as with Ctrl+C (130), the shops finished
// so far kept, and the same command goes on with the shop that was in flight.
TEST_F(KilledBatchTest, SigtermStopsTheBatchAsCtrlCDoes)
{
    const pid_t stopped = StartBatch();
    ASSERT_GT(stopped, 0);
    ASSERT_TRUE(AwaitRequest("k2.taobao.com pageNo=2"));
    ::kill(stopped, SIGTERM);
    const Finished done = WaitCollect(dir.path, stopped);
    EXPECT_EQ(done.status, 130) << done.errors;
    EXPECT_TRUE(fs::exists(dir.file("csv/k1.taobao.com.csv")));
    EXPECT_FALSE(fs::exists(dir.file("csv/k2.taobao.com.csv")));

    shop.clearRequests();
    const Finished resumed = WaitCollect(dir.path, StartBatch());
    EXPECT_EQ(resumed.status, 0) << resumed.errors;
    const std::vector<std::string> asked = Asked(shop);
    ASSERT_FALSE(asked.empty());
    EXPECT_EQ(asked.front(), "k2.taobao.com pageNo=1");
}

// Outputs are touched only once the store is open, and only when they are Korvel's to write: an
// unrelated --jsonl file or a link planted in the --out folder stops the batch before any request
// and is left as it was.
TEST_F(KilledBatchTest, OutputsThatAreNotKorvelsAreLeftAlone)
{
    const std::string started = "{\"type\":\"product\",\"shop\":\"k1.taobao.com\",\"id\":\"1\"}\n";
    std::ofstream(dir.file("all.jsonl")) << started;
    const std::string history = store;
    store = dir.path;  // a folder: no store can be opened there
    const Finished noStore = WaitCollect(dir.path, StartBatch());
    EXPECT_EQ(noStore.status, 1) << noStore.errors;
    EXPECT_EQ(ReadAll(dir.file("all.jsonl")), started) << "not cut back before the store opened";
    EXPECT_FALSE(fs::exists(dir.file("csv")));
    store = history;

    const std::string notes = "my own notes\n";
    std::ofstream(dir.file("all.jsonl")) << notes;
    const Finished foreign = WaitCollect(dir.path, StartBatch());
    EXPECT_EQ(foreign.status, 3) << foreign.errors;
    EXPECT_NE(foreign.errors.find(dir.file("all.jsonl")), std::string::npos) << foreign.errors;
    EXPECT_EQ(ReadAll(dir.file("all.jsonl")), notes);

    fs::remove(dir.file("all.jsonl"));
    fs::create_directories(dir.file("csv"));
    std::ofstream(dir.file("victim")) << "keep me";
    fs::create_symlink(dir.file("victim"), dir.file("csv/k1.taobao.com.csv"));
    const Finished planted = WaitCollect(dir.path, StartBatch());
    EXPECT_EQ(planted.status, 3) << planted.errors;
    EXPECT_NE(planted.errors.find("symbolic link"), std::string::npos) << planted.errors;
    EXPECT_EQ(ReadAll(dir.file("victim")), "keep me");
    EXPECT_EQ(Asked(shop), Pages("k1.taobao.com")) << "only the shop before the refusal";
}

}  // namespace
}  // namespace korvel::test
