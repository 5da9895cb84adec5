// korvel-collect, the program scripts run: the same run, the two export formats, exit statuses.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

#include "DemoShopRun.h"
#include "export/CsvReader.h"
#include "export/WorkbookReader.h"
#include "support/TestGbk.h"
#include "support/LocalServer.h"

extern char** environ;

namespace korvel::test {
namespace {

namespace fs = std::filesystem;

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

struct Finished {
    int status = -1;
    std::string errors;  // stderr
    std::string output;  // stdout
};

class CollectCliTest : public DemoShopRun {
protected:
    void SetUp() override
    {
        DemoShopRun::SetUp();
        dir = tools::MakeTempDir("korvel-collect-cli");
        dataDir = tools::MakeTempDir("korvel-collect-data");
    }
    void TearDown() override
    {
        fs::remove_all(dir);
        fs::remove_all(dataDir);
    }

    // The program next to this test binary, with the routing to the demo shop in its environment.
    Finished Collect(std::vector<std::string> args, bool withStdout = true) const
    {
        return Wait(Start(std::move(args), withStdout));
    }

    pid_t Start(std::vector<std::string> args, bool withStdout = true) const
    {
        const std::string program = fs::read_symlink("/proc/self/exe").parent_path() / "korvel-collect";
        args.insert(args.begin(), program);
        std::vector<char*> argv;
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        // This process's environment (sanitizer options included), the routing to the demo shop
        // and a UTF-8 terminal.
        std::vector<std::string> env = RoutingEnvironment();
        env.push_back("LANG=C.UTF-8");
        // Each run is recorded in the shop history: in this test's folder, never the user's.
        env.push_back("XDG_DATA_HOME=" + dataDir);
        for (char** entry = environ; *entry; ++entry) {
            const std::string_view text(*entry);
            if (!text.starts_with("KORVEL_") && !text.starts_with("LANG=") && !text.starts_with("LC_"))
                env.emplace_back(text);
        }
        std::vector<char*> envp;
        for (auto& entry : env)
            envp.push_back(entry.data());
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (withStdout)
            posix_spawn_file_actions_addopen(&actions, 1, (dir + "/stdout.txt").c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0644);
        else
            posix_spawn_file_actions_addclose(&actions, 1);
        posix_spawn_file_actions_addopen(&actions, 2, (dir + "/stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                         0644);
        pid_t pid = -1;
        if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
            pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    Finished Wait(pid_t pid) const
    {
        Finished finished;
        int status = 0;
        if (pid > 0 && ::waitpid(pid, &status, 0) == pid)
            finished.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        finished.errors = ReadFile(dir + "/stderr.txt");
        finished.output = ReadFile(dir + "/stdout.txt");
        return finished;
    }

    std::string dir;
    std::string dataDir;
};

TEST_F(CollectCliTest, WritesBothExportsByteForByte)
{
    demo::DemoShopOptions options;
    options.pages = 2;
    options.faults = {{2, demo::PageFault::ServerError}};
    Shop().setOptions(options);
    // The format is the option's: a name ending in .csv given to --all still gets the GBK text.
    const auto done = Collect({TaobaoHost, "--ids", dir + "/ids.txt", "--all", dir + "/all-text.csv", "--csv",
                               dir + "/all.csv", "--retries", "0"});
    ASSERT_EQ(done.status, 4) << done.errors;

    std::string ids, all;
    for (const auto& row : ExpectedRows(options, demo::Marketplace::Taobao)) {
        ids += row[1] + "\r\n";
        for (const auto& cell : row)
            all += cell + "\xa1\xa1\xa1\xa1";
        all += "\r\n";
    }
    EXPECT_EQ(ReadFile(dir + "/ids.txt"), ids);
    EXPECT_EQ(ReadFile(dir + "/all-text.csv"), all);
    const std::string csv = ReadFile(dir + "/all.csv");
    EXPECT_TRUE(csv.starts_with("\xEF\xBB\xBF")) << csv.substr(0, 40);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 21);  // the header and 20 products
    // The labels' own texts, shown in the terminal's UTF-8, the final message after them.
    EXPECT_NE(done.errors.find("商品总页数：2\n"), std::string::npos) << done.errors;
    EXPECT_NE(done.errors.find("已经获取到宝贝：20\n"), std::string::npos);
    EXPECT_NE(done.errors.find("采集商品总数：20\n成功采集: 本次采集到的商品共有：20件！\n"
                               "第 2 页未能取得：服务器返回 HTTP 500\n"),
              std::string::npos)
        << done.errors;
    EXPECT_NE(done.errors.find("导出成功: 导出成功，商品ID总数为：20！\n"), std::string::npos);
    EXPECT_NE(done.errors.find("导出成功: 导出成功，商品总数为：20！\n"), std::string::npos);
}

TEST_F(CollectCliTest, AFailedRunExitsWithItsMessageAndTitle)
{
    auto done = Collect({"shop.example.com", "--ids", dir + "/ids.txt"});
    EXPECT_EQ(done.status, 1);
    EXPECT_EQ(done.errors, "店铺错误: 系统只支持淘宝天猫店铺\n");
    EXPECT_FALSE(fs::exists(dir + "/ids.txt"));

    demo::DemoShopOptions options;
    options.faults = {{1, demo::PageFault::NoItems}};
    Shop().setOptions(options);
    done = Collect({TmallHost});
    EXPECT_EQ(done.status, 1);
    EXPECT_NE(done.errors.find("未发现商品: 没有发现商品，请重试！\n"), std::string::npos) << done.errors;
}

// Every export path is checked before the first request, and refused as the window refuses it,
// with the cause.
TEST_F(CollectCliTest, AnUnwritableExportEndsTheRunBeforeItStarts)
{
    fs::create_directory(dir + "/locked");
    fs::permissions(dir + "/locked", fs::perms::owner_read | fs::perms::owner_exec);
    std::vector<std::pair<std::string, std::string>> refusals = {{dir + "/missing/ids.txt", "文件夹不存在"},
                                                                 {dir, "这是一个文件夹，不是文件"}};
    if (::geteuid() != 0)  // root writes anywhere
        refusals.emplace_back(dir + "/locked/ids.txt", "没有写入权限");
    for (const std::string option : {"--ids", "--xlsx"}) {
        for (const auto& [target, cause] : refusals) {
            const auto done = Collect({TmallHost, "--all", dir + "/all.txt", option, target});
            EXPECT_EQ(done.status, 3);
            EXPECT_EQ(done.errors, "导出失败: 文件无法写入：" + target + "\n" + cause + "\n");
        }
    }
    EXPECT_TRUE(Shop().requests().empty());
    EXPECT_FALSE(fs::exists(dir + "/all.txt"));
}

// The exports of a run land together: one that cannot be written leaves the others unwritten.
TEST_F(CollectCliTest, ExportsLandTogetherOrNotAtAll)
{
    demo::DemoShopOptions options;
    options.pages = 1;
    Shop().setOptions(options);
    // The export that fills the device, and one that would land beside it.
    const std::vector<std::pair<std::string, std::string>> exports = {{"--all", "--xlsx"}, {"--xlsx", "--csv"}};
    for (const auto& [full, beside] : exports) {
        WriteFile(dir + "/ids.txt", "earlier");
        WriteFile(dir + "/beside", "earlier");
        const auto done =
            Collect({TaobaoHost, "--ids", dir + "/ids.txt", beside, dir + "/beside", full, "/dev/full"});
        EXPECT_EQ(done.status, 3);
        EXPECT_NE(done.errors.find("导出失败: 文件无法写入：/dev/full\n磁盘空间不足\n"), std::string::npos)
            << done.errors;
        EXPECT_EQ(ReadFile(dir + "/ids.txt"), "earlier");
        EXPECT_EQ(ReadFile(dir + "/beside"), "earlier");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 4)
            << "ids.txt, the file beside and the two output files, no copy left aside";
    }
}

TEST_F(CollectCliTest, BadArgumentsShowTheUsage)
{
    for (const auto& args : std::vector<std::vector<std::string>>{{},
                                                                  {"--ids"},
                                                                  {TaobaoHost, "--ids"},
                                                                  {TaobaoHost, "other.taobao.com"},
                                                                  {TaobaoHost, "--x", "y"},
                                                                  {TaobaoHost, "--ids", "a", "--ids", "b"},
                                                                  {TaobaoHost, "--delay", "-1"},
                                                                  {TaobaoHost, "--retries", "x"},
                                                                  {TaobaoHost, "--xlsx", "-"},
                                                                  {TaobaoHost, "--xlsx="},
                                                                  {"--changes", TaobaoHost, "--xlsx", "-"},
                                                                  {"--runs", TaobaoHost, "--xlsx", "x.xlsx"}}) {
        const auto done = Collect(args);
        EXPECT_EQ(done.status, 2);
        EXPECT_NE(done.errors.find("usage: korvel-collect [OPTIONS] SHOP"), std::string::npos);
    }
    EXPECT_TRUE(Shop().requests().empty());
}

TEST_F(CollectCliTest, HelpAndVersionGoToStandardOutput)
{
    for (const std::string flag : {"--help", "-h"}) {
        const auto done = Collect({flag});
        EXPECT_EQ(done.status, 0);
        EXPECT_TRUE(done.output.starts_with("usage: korvel-collect [OPTIONS] SHOP")) << done.output;
        EXPECT_NE(done.output.find("130"), std::string::npos);
        EXPECT_EQ(done.errors, "");
    }
    const auto done = Collect({"--version"});
    EXPECT_EQ(done.status, 0);
    EXPECT_TRUE(done.output.starts_with("korvel-collect ")) << done.output;
}

TEST_F(CollectCliTest, ADashWritesTheExportToStandardOutput)
{
    demo::DemoShopOptions options;
    options.pages = 1;
    Shop().setOptions(options);
    const auto done = Collect({TaobaoHost, "--ids=-"});
    ASSERT_EQ(done.status, 0) << done.errors;
    std::string ids;
    for (const auto& row : ExpectedRows(options, demo::Marketplace::Taobao))
        ids += row[1] + "\r\n";
    EXPECT_EQ(done.output, ids);
    EXPECT_FALSE(fs::exists("-"));

    // Started without standard output: nothing is requested, nothing claims success.
    Shop().clearRequests();
    const auto closed = Collect({TaobaoHost, "--ids", "-"}, false);
    EXPECT_EQ(closed.status, 3);
    EXPECT_EQ(closed.errors, "导出失败: 文件无法写入：-\n标准输出已关闭\n");
    EXPECT_TRUE(Shop().requests().empty());
}

// Ctrl+C during a request that takes its time, or SIGTERM as a scheduler stops a task: the run
// ends at once as interrupted, no export is written.
TEST_F(CollectCliTest, InterruptingEndsAtOnceAndLeavesTheExports)
{
    // Waiting the request out would take 30 s; the bound leaves room for a sanitizer build's exit
    // on a loaded machine.
    demo::DemoShopOptions options;
    options.delay = std::chrono::seconds(30);
    Shop().setOptions(options);
    WriteFile(dir + "/ids.txt", "earlier");
    for (const int signal : {SIGINT, SIGTERM}) {
        Shop().clearRequests();
        const pid_t pid = Start({TaobaoHost, "--ids", dir + "/ids.txt"});
        // Only a program that has made its request is interrupted in the middle of one; a fixed
        // pause could also catch a slow start before the program watches for Ctrl+C.
        for (int i = 0; i < 1000 && Shop().requests().empty(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_FALSE(Shop().requests().empty());
        const auto interrupted = std::chrono::steady_clock::now();
        ::kill(pid, signal);
        const auto done = Wait(pid);
        EXPECT_LT(std::chrono::steady_clock::now() - interrupted, std::chrono::seconds(5));
        EXPECT_EQ(done.status, 130) << signal << done.errors;
        EXPECT_EQ(ReadFile(dir + "/ids.txt"), "earlier");
    }
}

// What changed between two collections, as a workbook: prices as numbers, the percent as a
// percentage, a count the shop wrote as "10万+" as text; a path that cannot take it fails the
// report as the CSV's does.
TEST_F(CollectCliTest, ChangesGoToAWorkbook)
{
    demo::DemoShopOptions options;
    options.pages = 1;
    Shop().setOptions(options);
    const std::string before = ExpectedRows(options, demo::Marketplace::Taobao)[0][4];
    ASSERT_EQ(Collect({TaobaoHost}).status, 0);
    options.salePrices = {{{1, 0}, "50.00"}};
    options.soldCounts = {{{1, 1}, "10万+"}};
    Shop().setOptions(options);
    ASSERT_EQ(Collect({TaobaoHost}).status, 0);

    const auto done = Collect({"--changes", TaobaoHost, "--xlsx", dir + "/changes.xlsx"});
    ASSERT_EQ(done.status, 0) << done.errors;
    const auto cells = CellsOf(ReadWorkbook(dir + "/changes.xlsx"));
    EXPECT_EQ(cells.at("A1").value, "shop");
    EXPECT_EQ(cells.at("C2").value, "price");
    EXPECT_DOUBLE_EQ(std::stod(cells.at("D2").value), std::stod(before));
    EXPECT_EQ(cells.at("E2").type, "n");
    EXPECT_DOUBLE_EQ(std::stod(cells.at("E2").value), 50);
    EXPECT_EQ(cells.at("G2").format, "0.00%");
    EXPECT_NEAR(std::stod(cells.at("G2").value), (50 - std::stod(before)) / std::stod(before), 0.00006);
    bool soldAsText = false;
    for (int row = 2; cells.count(CellName(row, 2)); ++row)
        soldAsText |= cells.at(CellName(row, 2)).value == "sold" && cells.at(CellName(row, 4)).value == "10万+";
    EXPECT_TRUE(soldAsText);

    for (const std::string& target : {dir + "/missing/changes.xlsx", dir, std::string("/dev/full")}) {
        const auto refused = Collect({"--changes", TaobaoHost, "--xlsx", target});
        EXPECT_EQ(refused.status, 1) << target;
        EXPECT_NE(refused.errors.find("korvel-collect: cannot write " + target + "\n"), std::string::npos)
            << refused.errors;
    }
    EXPECT_TRUE(cells == CellsOf(ReadWorkbook(dir + "/changes.xlsx"))) << "the folder chosen as the file keeps its workbook";
}

// Titles a rival shop may write so that a spreadsheet runs them: the CSV keeps each one a text
// behind an apostrophe, the workbook as a text cell of its own.
TEST_F(CollectCliTest, TitlesNeverRunAsFormulas)
{
    demo::DemoShopOptions options;
    options.pages = 1;
    options.titles = {{{1, 0}, "=HYPERLINK(\"http://x.example/?q\",\"点击\")"},
                      {{1, 1}, "&#61;HYPERLINK(1)"},
                      {{1, 2}, "-2+3 减价"},
                      {{1, 3}, "&#9;@SUM(1)"},
                      {{1, 4}, "价格=1+1"}};
    Shop().setOptions(options);
    const auto done = Collect({TaobaoHost, "--csv", dir + "/all.csv", "--xlsx", dir + "/all.xlsx"});
    ASSERT_EQ(done.status, 0) << done.errors;
    const std::string csv = ReadFile(dir + "/all.csv");
    const auto table = ReadCsv(csv.substr(std::min<size_t>(3, csv.size())));
    ASSERT_TRUE(table.has_value() && table->size() == 21u) << csv;
    const std::vector<std::string> titles = {"'=HYPERLINK(\"http://x.example/?q\",\"点击\")", "'=HYPERLINK(1)",
                                             "'-2+3 减价", "'\t@SUM(1)", "价格=1+1"};
    for (size_t i = 0; i < titles.size(); ++i)
        EXPECT_EQ(table->at(i + 1).at(3), titles[i]);
    EXPECT_NE(table->at(1).at(4).front(), '\'') << "prices stay numbers";

    // The workbook holds the CSV's cells, without the apostrophes: numbers as numbers, picture
    // addresses as links over https, never a formula.
    const auto records = ReadWorkbook(dir + "/all.xlsx");
    const auto cells = CellsOf(records);
    const auto links = LinksOf(records);
    EXPECT_TRUE(RecordsOf(records, "formula").empty());
    for (int row = 0; row < 21; ++row) {
        for (int column = 0; column < 8; ++column) {
            const std::string name = CellName(row, column);
            std::string field = table->at(row).at(column);
            if (field.starts_with('\''))
                field.erase(0, 1);
            if (field.empty()) {
                EXPECT_EQ(cells.count(name), 0u) << name;
                continue;
            }
            const ReadCell& cell = cells.at(name);
            const bool number = row > 0 && column != 1 && column != 2 && column != 3;
            EXPECT_EQ(cell.type, number ? "n" : "s") << name << " " << field;
            if (number)
                EXPECT_DOUBLE_EQ(std::stod(cell.value), std::stod(field)) << name;
            else
                EXPECT_EQ(cell.value, field) << name;
        }
        if (row > 0) {
            EXPECT_EQ(links.at(CellName(row, 2)), "https://" + table->at(row).at(2));
        }
    }
}

}  // namespace
}  // namespace korvel::test
