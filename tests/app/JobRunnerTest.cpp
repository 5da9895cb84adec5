// The window's one way off its thread: what jobs post runs on the window's thread until it closes,
// closing ends every job within its budget and names those it had to leave, and the history's one
// connection answers only the newest request of a kind while never dropping a change.

#include <gtest/gtest.h>

#include <QTest>
#include <QThread>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "UserActions.h"
#include "app/JobRunner.h"
#include "app/StoreWorker.h"
#include "store/StoreTempDir.h"

namespace korvel::test {
namespace {

using namespace std::chrono_literals;

TEST(JobRunner, PostedWorkRunsOnTheWindowThreadUntilItCloses)
{
    JobRunner jobs;
    std::atomic<bool> ranOnWindow = false;
    QThread* window = QThread::currentThread();
    jobs.start("post", [&](JobRunner::Context& job) {
        job.post([&] { ranOnWindow = QThread::currentThread() == window; });
    });
    ASSERT_TRUE(WaitFor([&] { return ranOnWindow.load(); }, 5000));

    std::atomic<int> late = 0;
    jobs.post([&] { ++late; });  // queued before the close
    EXPECT_TRUE(jobs.close(800ms).empty());
    std::thread after([&] { jobs.post([&] { ++late; }); });
    after.join();
    QTest::qWait(50);
    EXPECT_EQ(late, 0);
    // A job started once closed begins cancelled.
    std::atomic<bool> startedCancelled = false;
    jobs.start("late", [&](JobRunner::Context& job) { startedCancelled = job.cancellation().cancelled(); });
    jobs.close(800ms);
    EXPECT_TRUE(startedCancelled);
}

// A job that heeds its cancellation ends with the close; one that does not is left to finish on
// its own, named, and what it owns outlives the runner.
TEST(JobRunner, ClosingWaitsOnlyItsBudgetAndNamesWhatItLeft)
{
    auto stubborn = std::make_shared<std::atomic<bool>>(false);
    std::atomic<bool> politeEnded = false;
    auto jobs = std::make_unique<JobRunner>();
    jobs->start("polite", [&](JobRunner::Context& job) {
        while (job.cancellation().sleepFor(10s)) {
        }
        politeEnded = true;
    });
    jobs->start("stubborn", [stubborn](JobRunner::Context&) {
        std::this_thread::sleep_for(600ms);
        *stubborn = true;
    });
    const std::vector<std::string> left = jobs->close(100ms);
    EXPECT_TRUE(politeEnded);
    EXPECT_FALSE(*stubborn);
    EXPECT_EQ(left, std::vector<std::string>{"stubborn"});
    jobs.reset();
    for (int waited = 0; !*stubborn && waited < 5000; waited += 10)
        std::this_thread::sleep_for(10ms);
    EXPECT_TRUE(*stubborn);
}

// One request of a kind waits while the connection is busy; a newer one of the same kind replaces
// it, and only the newest answer is shown. Changes queue in order and none is dropped.
TEST(StoreWorker, ANewerReadReplacesTheWaitingOneAndEditsAreKept)
{
    StoreTempDir dir;
    JobRunner jobs;
    StoreWorker history(jobs, dir.file());
    std::atomic<bool> release = false;
    std::vector<std::string> shown;
    std::vector<int> readsRun;
    history.read<Done>(
        1,
        [&](Store&) -> StoreResult<Done> {
            while (!release)
                std::this_thread::sleep_for(1ms);
            return Done{};
        },
        [&](const StoreResult<Done>&) { shown.push_back("blocking read"); });
    for (int n = 1; n <= 3; ++n) {
        history.read<int>(
            2,
            [&readsRun, n](Store&) -> StoreResult<int> {
                readsRun.push_back(n);
                return n;
            },
            [&](const StoreResult<int>& read) { shown.push_back("read " + std::to_string(read.value())); });
        history.edit<Done>(
            [n](Store& store) { return store.follow({"shop" + std::to_string(n) + ".taobao.com"}); },
            [&shown, n](const StoreResult<Done>& done) {
                shown.push_back(std::string(done.ok() ? "followed " : "failed ") + std::to_string(n));
            });
    }
    release = true;
    ASSERT_TRUE(WaitFor([&] { return shown.size() == 5; }, 10000));
    QTest::qWait(50);
    EXPECT_EQ(shown, (std::vector<std::string>{"blocking read", "followed 1", "followed 2", "read 3",
                                               "followed 3"}));
    EXPECT_EQ(readsRun, std::vector<int>{3});
}

}  // namespace
}  // namespace korvel::test
