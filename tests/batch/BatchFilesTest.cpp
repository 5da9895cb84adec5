#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "batch/JsonLinesFile.h"
#include "batch/ShopFiles.h"

namespace korvel::batch {
namespace {

namespace fs = std::filesystem;

class BatchFiles : public testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "korvel-batch-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    void write(const std::string& name, const std::string& bytes) const { std::ofstream(path(name)) << bytes; }
    std::string read(const std::string& name) const
    {
        std::ostringstream bytes;
        bytes << std::ifstream(path(name)).rdbuf();
        return bytes.str();
    }

    fs::path folder_;
};

const std::string ShopA = "{\"type\":\"product\",\"id\":\"1\",\"run\":7}\n{\"type\":\"shop\",\"shop\":\"a\",\"run\":7}\n";
const std::string Appended = "{\"type\":\"shop\",\"shop\":\"z\",\"run\":99}\n";
const std::string ShopB = "{\"type\":\"shop\",\"shop\":\"b\",\"cause\":\"x\\n,\\\"run\\\":9}\",\"run\":12}\n";

struct CutCase {
    const char* name;
    std::string before;
    std::string after;
    std::set<ShopRun> runs;
};

class JsonLinesCuts : public BatchFiles, public testing::WithParamInterface<CutCase> {};

TEST_P(JsonLinesCuts, KeepWholeShopsOnly)
{
    const CutCase& c = GetParam();
    write("out.jsonl", c.before);
    {
        auto file = JsonLinesFile::Open(path("out.jsonl"), false);
        ASSERT_TRUE(file);
        EXPECT_EQ(file->runsPresent(), c.runs);
        ASSERT_TRUE(file->append(Appended, {"z", 99}));
    }
    EXPECT_EQ(read("out.jsonl"), c.after + Appended);
}

const CutCase CutCases[] = {
    {"empty", "", "", {}},
    {"whole_shops", ShopA + ShopB, ShopA + ShopB, {{"a", 7}, {"b", 12}}},
    {"half_a_product_line", ShopA + "{\"type\":\"prod", ShopA, {{"a", 7}}},
    {"products_without_their_shop", ShopA + "{\"type\":\"product\",\"run\":12}\n", ShopA, {{"a", 7}}},
    {"shop_line_cut", ShopA + ShopB.substr(0, ShopB.size() - 3), ShopA, {{"a", 7}}},
    {"shop_line_without_break", ShopA + ShopB.substr(0, ShopB.size() - 1), ShopA, {{"a", 7}}},
    {"nothing_whole", "{\"type\":\"product\"}\n{\"ty", "", {}},
};

INSTANTIATE_TEST_SUITE_P(Batch, JsonLinesCuts, testing::ValuesIn(CutCases),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(BatchFiles, JsonLinesAcrossReadPieces)
{
    // Longer than one read, so a line crosses a piece's end.
    std::string many;
    for (int run = 1; run <= 3000; ++run)
        many += "{\"type\":\"product\",\"title\":\"" + std::string(40, 'x') + "\",\"run\":" + std::to_string(run) +
                "}\n{\"type\":\"shop\",\"shop\":\"s\",\"run\":" + std::to_string(run) + "}\n";
    write("out.jsonl", many + "{\"type\":\"product\",\"run\":3001}\n");
    auto file = JsonLinesFile::Open(path("out.jsonl"), false);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->runsPresent().size(), 3000u);
    EXPECT_EQ(read("out.jsonl"), many);
}

TEST_F(BatchFiles, FreshStartsTheFileOver)
{
    write("out.jsonl", ShopA);
    auto file = JsonLinesFile::Open(path("out.jsonl"), true);
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->runsPresent().empty());
    EXPECT_EQ(read("out.jsonl"), "");
    EXPECT_FALSE(JsonLinesFile::Open(path("missing/out.jsonl"), false));
}

TEST_F(BatchFiles, LeftoversOfGoneWritersAreRemoved)
{
    // A process id that cannot be running: above the kernel's limit.
    const std::string gone = "4194305";
    const std::string self = std::to_string(::getpid());
    const std::string alive = std::to_string(::getppid());
    write(".a.taobao.com.csv.korvel-" + gone + "-0.tmp", "x");
    write(".a.taobao.com.csv.korvel-" + self + "-3.tmp", "x");
    write(".b.tmall.com.csv.korvel-" + alive + "-0.tmp", "x");  // another live writer's
    write(".c.taobao.com.csv.korvel-" + gone + "-0.tmp", "x");  // not in this list
    write("a.taobao.com.csv", "kept");
    write(".a.taobao.com.csv.korvel-x-0.tmp", "x");  // not a writer's name
    EXPECT_EQ(RemoveLeftovers(folder_.string(), {"a.taobao.com", "b.tmall.com"}), 2);
    EXPECT_FALSE(fs::exists(path(".a.taobao.com.csv.korvel-" + gone + "-0.tmp")));
    EXPECT_FALSE(fs::exists(path(".a.taobao.com.csv.korvel-" + self + "-3.tmp")));
    EXPECT_TRUE(fs::exists(path(".b.tmall.com.csv.korvel-" + alive + "-0.tmp")));
    EXPECT_TRUE(fs::exists(path(".c.taobao.com.csv.korvel-" + gone + "-0.tmp")));
    EXPECT_TRUE(fs::exists(path(".a.taobao.com.csv.korvel-x-0.tmp")));
    EXPECT_EQ(read("a.taobao.com.csv"), "kept");
}

TEST_F(BatchFiles, ShopCsvIsTheSingleCommandsCsv)
{
    CollectionRun run;
    run.shopHost = "a.taobao.com";
    run.products.push_back({" 101 ", "//img/a.jpg", "t &amp; u", "9.90", "19", "5", "0", 1, 1});
    ASSERT_TRUE(PlaceShopCsv(folder_.string(), run));
    EXPECT_EQ(read("a.taobao.com.csv"),
              "\xEF\xBB\xBF\xE5\xBA\x8F\xE5\x8F\xB7,\xE5\x95\x86\xE5\x93\x81ID,\xE5\x9B\xBE\xE7\x89\x87\xE5\x9C\xB0"
              "\xE5\x9D\x80,\xE5\x95\x86\xE5\x93\x81\xE6\xA0\x87\xE9\xA2\x98,\xE9\x94\x80\xE5\x94\xAE\xE4\xBB\xB7,"
              "\xE5\xB8\x82\xE5\x9C\xBA\xE4\xBB\xB7,\xE5\xB7\xB2\xE5\x94\xAE,\xE8\xAF\x84\xE8\xAE\xBA\r\n"
              "1,101,//img/a.jpg,t & u,9.90,19,5,0\r\n");
    EXPECT_EQ(ShopCsvPath("/o", "a.taobao.com"), "/o/a.taobao.com.csv");
}

}  // namespace
}  // namespace korvel::batch
