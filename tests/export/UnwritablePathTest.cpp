#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "export/ExportFakes.h"
#include "export/Exports.h"
#include "export/FileWriting.h"
#include "export/ProductsWorkbook.h"
#include "support/LocalServer.h"

namespace korvel::test {
namespace {

namespace fs = std::filesystem;

class UnwritablePathTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = tools::MakeTempDir("korvel-export");
        list.add({"1", "555", "", "", "", "", "", ""});
    }
    void TearDown() override { fs::remove_all(dir); }

    // Both exports to `target`: neither may claim success.
    void ExportBothTo(const std::string& target)
    {
        dialog.answers = {target, target};
        EXPECT_FALSE(box(ExportProductIds(list, dialog)));
        EXPECT_FALSE(box(ExportAllInformation(list, dialog)));
    }

    std::string dir;
    ProductList list;
    ScriptedDialog dialog;
    ResultLog box;
};

TEST_F(UnwritablePathTest, AMissingFolderIsReportedByPathAndNothingIsCreated)
{
    for (const char* name : {"ids.txt", "all.csv"}) {
        const std::string target = dir + "/no-such-folder/" + name;
        box.seen.clear();
        ExportBothTo(target);
        ASSERT_EQ(box.seen.size(), 2u);
        for (const ExportResult& result : box.seen) {
            EXPECT_EQ(result.outcome, ExportResult::Outcome::CannotWrite);
            EXPECT_EQ(result.path, target);
            EXPECT_EQ(result.cause, WriteRefusal::FolderMissing);
        }
    }
    EXPECT_FALSE(fs::exists(dir + "/no-such-folder"));
}

TEST_F(UnwritablePathTest, KernelFilesRefuseEvenRoot)
{
    ExportBothTo("/proc/version");
    ExportBothTo("/proc/korvel-no-such-entry.txt");
    EXPECT_EQ(box.seen.size(), 4u);
}

TEST_F(UnwritablePathTest, AFullDeviceIsAFailureNotASuccess)
{
    ExportBothTo("/dev/full");
    ASSERT_EQ(box.seen.size(), 2u);
    EXPECT_EQ(box.seen[0].outcome, ExportResult::Outcome::CannotWrite);
    EXPECT_EQ(box.seen[0].cause, WriteRefusal::DiskFull);
}

TEST_F(UnwritablePathTest, AFolderChosenAsTheFileStaysAsItWas)
{
    fs::create_directory(dir + "/folder");
    std::ofstream(dir + "/folder/inside.txt") << "kept";
    ExportBothTo(dir + "/folder");
    EXPECT_EQ(ReadFile(dir + "/folder/inside.txt"), "kept");
    ASSERT_EQ(box.seen.size(), 2u);
    EXPECT_EQ(box.seen[0].cause, WriteRefusal::IsFolder);
}

// The path comes back as the file system names it (UTF-8, whatever GBK can hold); the view converts it.
TEST_F(UnwritablePathTest, TheUnwritablePathComesBackAsTheUserChoseIt)
{
    for (const std::string& target : {dir + "/缺少的文件夹/商品.txt", dir + "/缺少/한😀\xff.txt"}) {
        box.seen.clear();
        ExportBothTo(target);
        ASSERT_EQ(box.seen.size(), 2u);
        EXPECT_EQ(box.seen[1].path, target);
    }
}

// A workbook is refused with the same causes, and nothing of it is left beside the target.
TEST_F(UnwritablePathTest, AWorkbookIsRefusedWithItsCause)
{
    fs::create_directory(dir + "/folder");
    const std::vector<std::pair<std::string, WriteRefusal>> targets = {
        {dir + "/no-such-folder/products.xlsx", WriteRefusal::FolderMissing},
        {dir + "/folder", WriteRefusal::IsFolder},
        {"/dev/full", WriteRefusal::DiskFull},
    };
    const RunProducts products = list;
    for (const auto& [target, cause] : targets) {
        const ExportResult result = WriteWorkbookTo(
            target, [&](const std::string& path) { return WriteProductsWorkbook(path, products); });
        EXPECT_EQ(result.outcome, ExportResult::Outcome::CannotWrite) << target;
        EXPECT_EQ(result.cause, cause) << target;
    }
    EXPECT_TRUE(fs::is_empty(dir + "/folder"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// A workbook that fails while the library writes it (here: the process may write no file past
// 4 KB) leaves the existing file as it was and no copy beside it.
TEST_F(UnwritablePathTest, AWorkbookFailingPartWayKeepsTheExistingFile)
{
    const std::string target = dir + "/products.xlsx";
    std::ofstream(target) << "earlier workbook";
    for (int i = 0; i < 2000; ++i)
        list.add({std::to_string(i), std::to_string(1000000 + i), "img.example.com/" + std::to_string(i), "t",
                  "1", "2", "3", "4"});
    const RunProducts products = list;
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &small);
        const ExportResult result = WriteWorkbookTo(
            target, [&](const std::string& path) { return WriteProductsWorkbook(path, products); });
        ::_exit(result.outcome == ExportResult::Outcome::CannotWrite ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the failure must be reported";
    EXPECT_EQ(ReadFile(target), "earlier workbook");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    EXPECT_TRUE(box(WriteWorkbookTo(
        target, [&](const std::string& path) { return WriteProductsWorkbook(path, products); })));
    EXPECT_TRUE(ReadFile(target).starts_with("PK"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST(WholeFileWriting, ReplacesThroughSymbolicLinksAndKeepsTheMode)
{
    const std::string dir = tools::MakeTempDir("korvel-export");
    const std::string real = dir + "/real.txt";
    std::ofstream(real) << "old contents";
    ::chmod(real.c_str(), 0640);
    fs::create_symlink(real, dir + "/link.txt");

    EXPECT_TRUE(WriteWholeFile(dir + "/link.txt", "new"));
    EXPECT_TRUE(fs::is_symlink(dir + "/link.txt"));
    EXPECT_EQ(ReadFile(real), "new");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // Nothing half-written is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
    fs::remove_all(dir);
}

TEST(WholeFileWriting, RelativeNamesAndBinaryBytes)
{
    const std::string dir = tools::MakeTempDir("korvel-export");
    const auto previous = fs::current_path();
    fs::current_path(dir);
    const std::string bytes("a\0\xff\r\n", 5);
    EXPECT_TRUE(WriteWholeFile("plain.txt", bytes));
    EXPECT_FALSE(WriteWholeFile("", bytes));
    fs::current_path(previous);
    EXPECT_EQ(ReadFile(dir + "/plain.txt"), bytes);
    fs::remove_all(dir);
}

// A shared folder (sticky, like /tmp) where the chosen file belongs to someone else but may be
// written by all: the folder forbids replacing it, yet its contents can still be rewritten.
TEST(WholeFileWriting, AnotherUsersWritableFileInASharedFolderIsRewritten)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as a second user";
    const std::string dir = tools::MakeTempDir("korvel-export");
    ::chmod(dir.c_str(), 01777);
    const std::string shared = dir + "/shared.txt";
    std::ofstream(shared) << "old contents, longer than the new";
    ::chmod(shared.c_str(), 0666);

    const pid_t child = ::fork();
    if (child == 0) {
        const bool ok = ::setgid(65534) == 0 && ::setuid(65534) == 0 && WriteWholeFile(shared, "new");
        ::_exit(ok ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadFile(shared), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}

}  // namespace
}  // namespace korvel::test
