// The window's side of a large collection: 100,000 products appended through the window's
// collection screen the way a run does it, with the window's events processed before each one.
//
//   ui_overhead_100k_ms  wall time of the whole run, list shown and labels counting
//   ui_max_gap_ms        the longest stretch in which the window did not get to its input
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

#include "app/GbkTableModel.h"
#include "app/MainWindow.h"
#include "Rounds.h"
#include "app/WindowCollectionScreen.h"

namespace {

constexpr int kProducts = 100000;

struct Figures {
    double overheadMs = 0;
    double maxGapMs = 0;
};

void AddProduct(korvel::CollectionScreen& screen, int total)
{
    const std::string n = std::to_string(total);
    screen.setTotalLabel("\xD2\xD1\xBE\xAD\xBB\xF1\xC8\xA1\xB5\xBD\xB1\xA6\xB1\xB4\xA3\xBA" + n);
    screen.appendRow();
    const int row = total - 1;
    screen.setCell(row, 0, n);
    screen.setCell(row, 1, std::to_string(520000000000LL + total));
    screen.setCell(row, 2, "img.alicdn.com/bao/uploaded/i4/" + n + ".jpg");
    screen.setCell(row, 3, "\xC5\xAE\xD7\xB0\xC1\xAC\xD2\xC2\xC8\xB9 \xCF\xC4\xBC\xBE\xD0\xC2\xBF\xEE " + n);
    screen.setCell(row, 4, "99.00");
    screen.setCell(row, 5, "199.00");
    screen.setCell(row, 6, "35");
    screen.setCell(row, 7, "12");
}

Figures Run(korvel::MainWindow& window)
{
    korvel::WindowCollectionScreen screen(window);
    screen.clearRows();
    QElapsedTimer clock;
    clock.start();
    qint64 lastInput = clock.nsecsElapsed();
    qint64 maxGap = 0;
    for (int total = 1; total <= kProducts; ++total) {
        const qint64 now = clock.nsecsElapsed();
        maxGap = std::max(maxGap, now - lastInput);
        lastInput = now;
        screen.processEvents();
        AddProduct(screen, total);
    }
    screen.present();
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
    korvel::bench::Series overheads, gaps;
    // A run lasts a few tenths of a second: nine of them cost little and settle the median.
    const auto rounds = korvel::bench::Interleave({[&] {
        const Figures f = Run(window);
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
    return 0;
}
