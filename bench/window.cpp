// The window's side of a large collection: 100,000 products handed to the window's collection
// the way a run's job hands them over (posted to the window's thread), with the window's events
// processed before each one.
//
//   ui_overhead_100k_ms  wall time of the whole run, list shown and labels counting
//   ui_max_gap_ms        the longest stretch in which the window did not get to its input
//   ui_overhead_100k_cpu_ms  the window thread's processor time in the run: the overhead without
//                        the slices other programs on the machine took
//
// Without a display the offscreen platform draws into memory; under X it draws for real. The run is
// repeated (see Rounds.h); each figure is the median of the runs, printed with its spread.

#include <QApplication>
#include <QElapsedTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Rounds.h"
#include "app/MainWindow.h"
#include "app/ProductTableModel.h"
#include "app/WindowCollection.h"

namespace {

constexpr int kProducts = 100000;

struct Figures {
    double overheadMs = 0;
    double maxGapMs = 0;
};

void AddProduct(korvel::CollectionObserver& collection, int total)
{
    const std::string n = std::to_string(total);
    korvel::Product product{std::to_string(520000000000LL + total),
                            "img.alicdn.com/bao/uploaded/i4/" + n + ".jpg",
                            "\xC5\xAE\xD7\xB0\xC1\xAC\xD2\xC2\xC8\xB9 \xCF\xC4\xBC\xBE\xD0\xC2\xBF\xEE " + n,
                            "99.00",
                            "199.00",
                            "35",
                            "12",
                            1 + (total - 1) / 20,
                            total};
    collection.productsFound({std::move(product)});
}

Figures Run(korvel::MainWindow& window)
{
    korvel::WindowCollection collection(window);
    korvel::CollectionObserver& observer = collection;
    observer.listingStarted();
    QElapsedTimer clock;
    clock.start();
    qint64 lastInput = clock.nsecsElapsed();
    qint64 maxGap = 0;
    for (int total = 1; total <= kProducts; ++total) {
        const qint64 now = clock.nsecsElapsed();
        maxGap = std::max(maxGap, now - lastInput);
        lastInput = now;
        QCoreApplication::processEvents();
        AddProduct(observer, total);
    }
    QCoreApplication::processEvents();
    window.productList().flush();
    QCoreApplication::processEvents();
    const qint64 end = clock.nsecsElapsed();
    maxGap = std::max(maxGap, end - lastInput);
    return {end / 1e6, maxGap / 1e6};
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
    korvel::bench::Series overheads, cpu, gaps;
    // A run lasts a few tenths of a second: nine of them cost little and settle the median.
    const auto rounds = korvel::bench::Interleave(
        {[&] {
            const double cpuStart = korvel::bench::Seconds(korvel::bench::Timing::ThreadCpu);
            const Figures f = Run(window);
            cpu.add((korvel::bench::Seconds(korvel::bench::Timing::ThreadCpu) - cpuStart) * 1000);
            overheads.add(f.overheadMs);
            gaps.add(f.maxGapMs);
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
    return 0;
}
