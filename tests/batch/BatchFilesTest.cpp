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
    void write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name)) << bytes;
    }
    std::string read(const std::string& name) const
    {
        std::ostringstream bytes;
        bytes << std::ifstream(path(name)).rdbuf();
        return bytes.str();
    }

    fs::path folder_;
};

const std::string ShopA =
    "{\"type\":\"product\",\"id\":\"1\",\"run\":7}\n{\"type\":\"shop\",\"shop\":\"a\",\"run\":7}\n";
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
        auto opened = JsonLinesFile::Open(path("out.jsonl"), false);
        ASSERT_TRUE(opened.file) << opened.cause;
        EXPECT_EQ(opened.file->runsPresent(), c.runs);
        ASSERT_TRUE(opened.file->append(Appended, {"z", 99}));
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
    {"first_line_cut", "{\"ty", "", {}},
};

INSTANTIATE_TEST_SUITE_P(Batch, JsonLinesCuts, testing::ValuesIn(CutCases),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(BatchFiles, JsonLinesAcrossReadPieces)
{
    // Longer than one read, so a line crosses a piece's end.
    std::string many;
    for (int run = 1; run <= 3000; ++run)
        many += "{\"type\":\"product\",\"title\":\"" + std::string(40, 'x') +
                "\",\"run\":" + std::to_string(run) +
                "}\n{\"type\":\"shop\",\"shop\":\"s\",\"run\":" + std::to_string(run) + "}\n";
    write("out.jsonl", many + "{\"type\":\"product\",\"run\":3001}\n");
    auto opened = JsonLinesFile::Open(path("out.jsonl"), false);
    ASSERT_TRUE(opened.file);
    EXPECT_EQ(opened.file->runsPresent().size(), 3000u);
    EXPECT_EQ(read("out.jsonl"), many);
}

TEST_F(BatchFiles, FreshStartsTheFileOver)
{
    write("out.jsonl", ShopA);
    auto opened = JsonLinesFile::Open(path("out.jsonl"), true);
    ASSERT_TRUE(opened.file);
    EXPECT_TRUE(opened.file->runsPresent().empty());
    EXPECT_EQ(read("out.jsonl"), "");
    EXPECT_FALSE(JsonLinesFile::Open(path("missing/out.jsonl"), false).file);
}

// A file Korvel did not start, a link or another kind of file is refused with its cause and left
// exactly as it was, --fresh or not.
TEST_F(BatchFiles, JsonLinesRefusesWhatIsNotItsOwn)
{
    const std::string notes = "remember the milk\n{\"type\":\"shop\",\"shop\":\"a\",\"run\":1}\n";
    write("notes.txt", notes);
    write("korvel.jsonl", ShopA);
    fs::create_symlink(path("korvel.jsonl"), path("link.jsonl"));
    fs::create_directory(path("folder.jsonl"));
    ASSERT_EQ(::mkfifo(path("fifo.jsonl").c_str(), 0600), 0);
    for (const bool fresh : {false, true}) {
        for (const char* name : {"notes.txt", "link.jsonl", "folder.jsonl", "fifo.jsonl"}) {
            const auto opened = JsonLinesFile::Open(path(name), fresh);
            EXPECT_FALSE(opened.file) << name;
            EXPECT_FALSE(opened.cause.empty()) << name;
        }
    }
    EXPECT_EQ(read("notes.txt"), notes);
    EXPECT_EQ(read("korvel.jsonl"), ShopA);
    EXPECT_TRUE(fs::is_symlink(path("link.jsonl")));
    if (::geteuid() == 0) {
        write("other.jsonl", "");
        ASSERT_EQ(::chown(path("other.jsonl").c_str(), 65534, 65534), 0);
        EXPECT_EQ(JsonLinesFile::Open(path("other.jsonl"), false).cause, "the file belongs to another user");
    }
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
    run.products.append(
        std::vector<Product>{{" 101 ", "//img/a.jpg", "t &amp; u", "9.90", "19", "5", "0", 1, 1}});
    const PlacedFile placed = PlaceShopCsv(folder_.string(), run);
    ASSERT_TRUE(placed) << placed.cause;
    EXPECT_EQ(
        read("a.taobao.com.csv"),
        "\xEF\xBB\xBF\xE5\xBA\x8F\xE5\x8F\xB7,\xE5\x95\x86\xE5\x93\x81ID,\xE5\x9B\xBE\xE7\x89\x87\xE5\x9C\xB0"
        "\xE5\x9D\x80,\xE5\x95\x86\xE5\x93\x81\xE6\xA0\x87\xE9\xA2\x98,\xE9\x94\x80\xE5\x94\xAE\xE4\xBB\xB7,"
        "\xE5\xB8\x82\xE5\x9C\xBA\xE4\xBB\xB7,\xE5\xB7\xB2\xE5\x94\xAE,\xE8\xAF\x84\xE8\xAE\xBA\r\n"
        "1,101,//img/a.jpg,t & u,9.90,19,5,0\r\n");
    EXPECT_EQ(ShopCsvPath("/o", "a.taobao.com"), "/o/a.taobao.com.csv");
}

// In a shared folder anyone may plant a link, a folder or a file of their own under a shop's
// name: none of them is written through or replaced, and the user's own file keeps its mode.
TEST_F(BatchFiles, ShopCsvReplacesOnlyTheUsersOwnRegularFile)
{
    CollectionRun run;
    run.products.append(std::vector<Product>{{"101", "p", "=1+9", "1", "2", "3", "4", 1, 1}});
    write("victim", "keep me");
    fs::create_symlink(path("victim"), path("link.taobao.com.csv"));
    fs::create_symlink(path("nowhere"), path("dangling.taobao.com.csv"));
    fs::create_directory(path("folder.taobao.com.csv"));
    for (const char* host : {"link.taobao.com", "dangling.taobao.com", "folder.taobao.com"}) {
        run.shopHost = host;
        const PlacedFile placed = PlaceShopCsv(folder_.string(), run);
        EXPECT_FALSE(placed) << host;
        EXPECT_FALSE(placed.cause.empty()) << host;
    }
    EXPECT_EQ(read("victim"), "keep me");
    EXPECT_FALSE(fs::exists(path("nowhere")));
    EXPECT_TRUE(fs::is_symlink(path("link.taobao.com.csv")));

    write("own.taobao.com.csv", "old");
    ASSERT_EQ(::chmod(path("own.taobao.com.csv").c_str(), 0640), 0);
    run.shopHost = "own.taobao.com";
    ASSERT_TRUE(PlaceShopCsv(folder_.string(), run));
    EXPECT_NE(read("own.taobao.com.csv").find("'=1+9"), std::string::npos);
    EXPECT_EQ(fs::status(path("own.taobao.com.csv")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    if (::geteuid() == 0) {
        write("theirs.taobao.com.csv", "theirs");
        ASSERT_EQ(::chown(path("theirs.taobao.com.csv").c_str(), 65534, 65534), 0);
        run.shopHost = "theirs.taobao.com";
        EXPECT_EQ(PlaceShopCsv(folder_.string(), run).cause, "the file belongs to another user");
        EXPECT_EQ(read("theirs.taobao.com.csv"), "theirs");
    }
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names.size(), ::geteuid() == 0 ? 6u : 5u) << "no copy is left aside";
}

}  // namespace
}  // namespace korvel::batch
