// What the window leaves in the history: a collection from the start button is recorded with its
// products, exactly as the console, the batch and 全部采集 record the same pages, under the shop's
// host in lower case; and a closing window is never held by the store, whoever holds its lock.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "DemoShopRoute.h"
#include "UserActions.h"
#include "app/BatchPanel.h"
#include "app/ControlNames.h"
#include "app/MainWindow.h"
#include "app/ProductTableModel.h"
#include "store/CollectProgram.h"
#include "store/Store.h"
#include "store/StorePath.h"

namespace korvel::test {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<Store> OpenHistory()
{
    auto opened = OpenStore(DefaultStorePath(), "test");
    EXPECT_TRUE(opened.ok()) << (opened.ok() ? "" : opened.error().cause);
    return opened.ok() ? std::move(opened.value()) : nullptr;
}

size_t RunsOf(const std::string& host)
{
    auto history = OpenHistory();
    const auto runs = history ? history->runs(host) : StoreResult<std::vector<RunSummary>>(StoreError{});
    return runs.ok() ? runs.value().size() : 0;
}

// Everything of a stored run but its clock times, which differ between any two collections.
void ExpectSameRecord(const CollectionRun& got, const CollectionRun& want, const std::string& way)
{
    EXPECT_EQ(got.shopHost, want.shopHost) << way;
    EXPECT_EQ(got.family, want.family) << way;
    EXPECT_EQ(got.end, want.end) << way;
    EXPECT_EQ(got.pageCount, want.pageCount) << way;
    EXPECT_EQ(got.pagesCollected, want.pagesCollected) << way;
    EXPECT_EQ(got.failureCause, want.failureCause) << way;
    EXPECT_EQ(got.lostPages.size(), want.lostPages.size()) << way;
    ASSERT_EQ(got.products.size(), want.products.size()) << way;
    for (size_t i = 0; i < got.products.size(); ++i) {
        const Product& a = got.products[i];
        const Product& b = want.products[i];
        ASSERT_EQ(std::tie(a.id, a.picture, a.title, a.salePrice, a.marketPrice, a.sold, a.reviews, a.page,
                           a.position),
                  std::tie(b.id, b.picture, b.title, b.salePrice, b.marketPrice, b.sold, b.reviews, b.page,
                           b.position))
            << way << ", row " << i;
    }
}

class WindowHistory : public ::testing::Test {
protected:
    void SetUp() override
    {
        demo::DemoShopOptions options;
        options.pages = 3;
        RoutedDemoShop().setOptions(options);
        folder = fs::temp_directory_path() / ("korvel-window-history-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override
    {
        window.reset();
        RoutedDemoShop().setOptions({});
        fs::remove_all(folder);
    }

    void openWindow()
    {
        window = std::make_unique<MainWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Types `typed` into 编辑框1, presses 开始采集, answers the closing box and waits until the run
    // is in the history.
    void collectWithStartButton(const QString& typed, const std::string& host)
    {
        const size_t before = RunsOf(host);
        auto* field = window->control<QLineEdit>(names::ShopAddress);
        field->clear();
        QTest::keyClicks(field, typed);
        auto box = AnswerNextBox();
        QTest::mouseClick(window->control<QPushButton>(names::StartButton), Qt::LeftButton);
        ASSERT_TRUE(WaitFor([&] { return box->shown && !window->collecting(); }, 60000));
        ASSERT_TRUE(WaitFor([&] { return RunsOf(host) == before + 1; }, 20000))
            << "the run never reached the store";
    }

    // The console's single command or batch against the routed demo shop, into the window's store.
    void collectWithConsole(std::vector<std::string> args)
    {
        args.insert(args.end(), {"--store", DefaultStorePath()});
        const Finished finished =
            RunCollect(folder.string(), args,
                       {std::string("KORVEL_CONNECT_TO=") + std::getenv("KORVEL_CONNECT_TO"),
                        std::string("KORVEL_CA_FILE=") + std::getenv("KORVEL_CA_FILE")});
        ASSERT_EQ(finished.status, 0) << finished.errors;
    }

    fs::path folder;
    std::unique_ptr<MainWindow> window;
};

TEST_F(WindowHistory, TheFourWaysIntoTheHistoryRecordTheSameRun)
{
    const std::string host = kTaobaoHost;
    {
        auto history = OpenHistory();
        ASSERT_TRUE(history);
        ASSERT_TRUE(history->follow({host}).ok());
    }
    openWindow();
    const size_t first = RunsOf(host) + 1;
    collectWithStartButton(QStringLiteral("SHOP35897120.taobao.com"), host);
    const int shownRows = window->productList().rows();
    collectWithConsole({host});
    std::ofstream(folder / "shops.txt") << host << "\n";
    collectWithConsole({"--batch", (folder / "shops.txt").string(), "--delay", "0", "--fresh"});
    QTest::mouseClick(window->control<QPushButton>(batch_names::CollectAll), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return RunsOf(host) == first + 3; }, 60000));

    auto history = OpenHistory();
    ASSERT_TRUE(history);
    EXPECT_EQ(RunsOf("SHOP35897120.TAOBAO.COM"), first + 3) << "looked up as the history keys it";
    const auto fromWindow = history->run(host, std::int64_t(first));
    ASSERT_TRUE(fromWindow.ok()) << fromWindow.error().cause;
    EXPECT_EQ(fromWindow.value().products.size(), size_t(shownRows));
    EXPECT_EQ(fromWindow.value().products.size(), 3u * 20u);
    EXPECT_EQ(fromWindow.value().end, RunEnd::Complete);
    const char* ways[] = {"korvel-collect", "--batch", "全部采集"};
    for (int way = 0; way < 3; ++way) {
        const auto other = history->run(host, std::int64_t(first) + 1 + way);
        ASSERT_TRUE(other.ok()) << other.error().cause;
        ExpectSameRecord(other.value(), fromWindow.value(), ways[way]);
    }
    const auto runs = history->runs(host);
    ASSERT_TRUE(runs.ok());
    for (size_t i = first - 1; i < runs.value().size(); ++i)
        EXPECT_EQ(runs.value()[i].version, runs.value()[first - 1].version) << "run " << i + 1;
}

// Two runs from the start button are compared as any two runs are, by the console too.
TEST_F(WindowHistory, ChangesCompareTwoRunsFromTheStartButton)
{
    const std::string host = kTmallHost;
    openWindow();
    collectWithStartButton(QString::fromLatin1(kTmallHost), host);
    collectWithStartButton(QString::fromLatin1(kTmallHost), host);
    auto history = OpenHistory();
    ASSERT_TRUE(history);
    const auto report = history->changes(host);
    ASSERT_TRUE(report.ok()) << report.error().cause;
    EXPECT_EQ(report.value().nothing, NothingToCompare::None);
    EXPECT_EQ(report.value().after.number, report.value().before.number + 1);
    EXPECT_EQ(report.value().after.productCount, 3 * 20);
    const Finished changes =
        RunCollect(folder.string(), {"--changes", host, "--jsonl", "-", "--store", DefaultStorePath()});
    EXPECT_EQ(changes.status, 0) << changes.errors;
    EXPECT_EQ(changes.errors.find("nothing to compare"), std::string::npos) << changes.errors;
}

// Another program holds the store's write lock for as long as it likes; with `whole`, taken before
// anyone else opened the store, it keeps out the readers as well.
class LockHolder {
public:
    LockHolder(const std::string& store, bool whole)
    {
        const std::string marker = store + ".held";
        fs::remove(marker);
        const std::string script =
            "import sqlite3, sys, time\n"
            "c = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
            "if sys.argv[3] == 'whole': c.execute('PRAGMA locking_mode=EXCLUSIVE')\n"
            "c.execute('BEGIN IMMEDIATE')\n"
            "c.execute('CREATE TABLE IF NOT EXISTS held (x)')\n"
            "open(sys.argv[2], 'w').close()\n"
            "time.sleep(120)\n";
        std::vector<std::string> args = {"python3", "-c", script, store, marker, whole ? "whole" : "write"};
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawnp(&pid_, "python3", nullptr, nullptr, argv.data(), environ) != 0)
            pid_ = -1;
        for (int waited = 0; pid_ > 0 && !fs::exists(marker) && waited < 10000; waited += 10)
            ::usleep(10'000);
        held_ = fs::exists(marker);
    }
    ~LockHolder()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    bool held() const { return held_; }

private:
    pid_t pid_ = -1;
    bool held_ = false;
};

// The run ends on the window as usual while its write waits for the lock. Closing ends every job
// within a second and says the history was not saved; once the lock is gone nothing of the write
// is there.
TEST_F(WindowHistory, ClosingIsNeverHeldByAStoreAnotherProgramLocked)
{
    const std::string host = kTaobaoHost;
    const size_t before = RunsOf(host);
    openWindow();
    auto lock = std::make_unique<LockHolder>(DefaultStorePath(), false);
    ASSERT_TRUE(lock->held()) << "python3 could not lock the store";
    auto* field = window->control<QLineEdit>(names::ShopAddress);
    field->clear();
    QTest::keyClicks(field, QString::fromLatin1(kTaobaoHost));
    auto box = AnswerNextBox();
    QTest::mouseClick(window->control<QPushButton>(names::StartButton), Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return box->shown && !window->collecting(); }, 60000))
        << "the run's end waited for the store";
    QTest::qWait(200);

    const std::string errors = (folder / "stderr").string();
    const int saved = ::dup(2);
    const int file = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(file, 2);
    const auto started = std::chrono::steady_clock::now();
    window->close();
    const auto took = std::chrono::steady_clock::now() - started;
    ::dup2(saved, 2);
    ::close(file);
    ::close(saved);
    EXPECT_LT(took, std::chrono::seconds(1));
    EXPECT_NE(ReadAll(errors).find("历史记录未保存"), std::string::npos) << "[" << ReadAll(errors) << "]";

    window.reset();
    lock.reset();
    auto history = OpenHistory();
    ASSERT_TRUE(history);
    const auto runs = history->runs(host);
    ASSERT_TRUE(runs.ok()) << runs.error().cause;
    EXPECT_EQ(runs.value().size(), before);
}

// The whole store is another program's from before the window opened: the window's reads (its
// followed shops, the monitor tab's shops) wait, and closing does not.
TEST_F(WindowHistory, ClosingIsNeverHeldByAReadThatWaits)
{
    OpenHistory();  // the store exists, as it does once anything was recorded
    LockHolder lock(DefaultStorePath(), true);
    ASSERT_TRUE(lock.held()) << "python3 could not lock the store";
    openWindow();
    window->tabs()->setCurrentIndex(5);
    QTest::qWait(300);
    const auto started = std::chrono::steady_clock::now();
    window->close();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    window.reset();
}

}  // namespace
}  // namespace korvel::test
