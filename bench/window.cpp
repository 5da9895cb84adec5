// The window's side of a large collection: 100,000 products handed to the window's collection by
// its own job, a page of 20 at a time, each page once the window has taken the one before; then
// the run's end, which the window records in a throwaway history.
//
//   ui_overhead_100k_ms  the window's work in the run: its thread's time handling the run's
//                        events, list shown and labels counting
//   ui_max_gap_ms        the longest stretch in which the window did not get to its input, the
//                        history write included
//   ui_overhead_100k_cpu_ms  the window thread's processor time in the run: the overhead without
//                        the slices other programs on the machine took
//   ui_history_write_100k_ms  from the list shown whole to the run in the history, the window
//                        answering all along
//
// Without a display the offscreen platform draws into memory; under X it draws for real. The run is
// repeated (see Rounds.h); each figure is the median of the runs, printed with its spread.

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "Rounds.h"
#include "app/MainWindow.h"
#include "app/ProductTableModel.h"
#include "app/StoreWorker.h"
#include "app/WindowCollection.h"

namespace {

constexpr int kProducts = 100000;
constexpr int kPerPage = 20;

struct Figures {
    double overheadMs = 0;
    double maxGapMs = 0;
    double historyWriteMs = 0;
};

std::vector<korvel::Product> Page(int first)
{
    std::vector<korvel::Product> page;
    for (int total = first; total < first + kPerPage; ++total) {
        const std::string n = std::to_string(total);
        page.push_back({std::to_string(520000000000LL + total), "img.alicdn.com/bao/uploaded/i4/" + n + ".jpg",
                        "\xC5\xAE\xD7\xB0\xC1\xAC\xD2\xC2\xC8\xB9 \xCF\xC4\xBC\xBE\xD0\xC2\xBF\xEE " + n,
                        "99.00", "199.00", "35", "12", 1 + (total - 1) / kPerPage, total});
    }
    return page;
}

// The run's side, on the job's thread: a page at a time, each handed over once the window has
// taken the one before (as the network paces a real run), then the end, which the window records.
void FeedPages(korvel::MainWindow& window, korvel::CollectionObserver& observer, std::atomic<int>& taken)
{
    korvel::CollectionRun run;
    run.shopHost = "bench.taobao.com";
    run.family = korvel::ShopFamily::Taobao;
    run.end = korvel::RunEnd::Complete;
    run.pageCount = run.pagesCollected = kProducts / kPerPage;
    observer.listingStarted();
    for (int first = 1; first <= kProducts; first += kPerPage) {
        observer.productsFound(run.products.append(Page(first)));
        window.jobs().post([&taken] { ++taken; });
        while (taken.load() * kPerPage < first)
            std::this_thread::sleep_for(std::chrono::microseconds(20));
    }
    run.productCount = static_cast<int>(run.products.size());
    observer.finished(run);
}

Figures Run(korvel::MainWindow& window, korvel::WindowCollection& collection)
{
    std::atomic<int> taken = 0;
    std::atomic<bool> fed = false;
    QElapsedTimer clock;
    clock.start();
    collection.start([&](korvel::CollectionObserver& observer, korvel::Cancellation&) {
        FeedPages(window, observer, taken);
        fed = true;
    });
    qint64 busy = 0;
    qint64 maxGap = 0;
    // One turn of the window's loop: what it handled counts as its work, the longest such turn as
    // the longest it kept its input waiting. With nothing to handle it yields the processor.
    const auto turn = [&] {
        const qint64 before = clock.nsecsElapsed();
        if (!QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents)) {
            std::this_thread::sleep_for(std::chrono::microseconds(50));
            return;
        }
        const qint64 took = clock.nsecsElapsed() - before;
        busy += took;
        maxGap = std::max(maxGap, took);
    };
    while (!fed || collection.running())
        turn();
    const qint64 flushStart = clock.nsecsElapsed();
    window.productList().flush();
    busy += clock.nsecsElapsed() - flushStart;
    const qint64 shown = clock.nsecsElapsed();
    // Queued behind the run's write: its answer comes once the run is in the store.
    bool written = false;
    window.history().edit<korvel::Done>([](korvel::Store&) { return korvel::Done{}; },
                                        [&written](const korvel::StoreResult<korvel::Done>&) { written = true; });
    while (!written)
        turn();
    return {busy / 1e6, maxGap / 1e6, (clock.nsecsElapsed() - shown) / 1e6};
}

}  // namespace

int main(int argc, char** argv)
{
    if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    // The window records each collection in the history: the benchmark's go to a throwaway store,
    // never the user's.
    char store[] = "/tmp/korvel-bench-window-XXXXXX";
    if (mkdtemp(store) != nullptr)
        setenv("KORVEL_STORE", (std::string(store) + "/korvel.sqlite").c_str(), 1);
    QApplication app(argc, argv);
    korvel::MainWindow window;
    window.show();
    QElapsedTimer waited;
    waited.start();
    while ((window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) &&
           waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    if (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
        std::fprintf(stderr, "korvel-bench-window: the window was never shown\n");
        return 1;
    }
    korvel::WindowCollection collection(window);
    // The run's closing box is answered as soon as it is up, as a user waiting for it would.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    answer.start(1);
    korvel::bench::Series overheads, cpu, gaps, writes;
    // A run lasts a few tenths of a second: nine of them cost little and settle the median.
    const auto rounds = korvel::bench::Interleave(
        {[&] {
            const double cpuStart = korvel::bench::Seconds(korvel::bench::Timing::ThreadCpu);
            const Figures f = Run(window, collection);
            cpu.add((korvel::bench::Seconds(korvel::bench::Timing::ThreadCpu) - cpuStart) * 1000);
            overheads.add(f.overheadMs);
            gaps.add(f.maxGapMs);
            writes.add(f.historyWriteMs);
            return window.productList().rows() == kProducts ? f.overheadMs / 1000 : -1;
        }},
        {.minSecondsPerSide = 0.5, .minRounds = 9});
    if (!rounds) {
        std::fprintf(stderr, "korvel-bench-window: %d rows instead of %d\n", window.productList().rows(),
                     kProducts);
        return 1;
    }
    std::printf("ui_rounds = %zu\n", overheads.rounds());
    korvel::bench::PrintGoalFigure("ui_overhead_100k_ms", overheads.median(), 1, overheads);
    korvel::bench::PrintGoalFigure("ui_max_gap_ms", gaps.median(), 1, gaps);
    korvel::bench::PrintFigure("ui_overhead_100k_cpu_ms", cpu.median(), 1);
    korvel::bench::PrintFigure("ui_history_write_100k_ms", writes.median(), 1);
    return 0;
}
