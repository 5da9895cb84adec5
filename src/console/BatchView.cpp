#include "BatchView.h"

#include <unistd.h>

namespace korvel::console {

BatchView::BatchView(std::FILE* out) : out_(out), terminal_(::isatty(::fileno(out)) == 1) {}

void BatchView::begun(const std::vector<batch::ShopState>& shops)
{
    const std::lock_guard lock(mutex_);
    tally_.total = static_cast<int>(shops.size());
    for (const batch::ShopState& shop : shops) {
        if (shop.stage == batch::ShopStage::Pending)
            continue;
        ++tally_.done;
        if (shop.outcome != batch::ShopOutcome::Complete)
            ++tally_.notComplete;
    }
    redraw();
}

void BatchView::shopStarted(const std::string& host)
{
    const std::lock_guard lock(mutex_);
    tally_.shop = host;
    tally_.page = 0;
    tally_.pages = 0;
    redraw();
}

void BatchView::pageStarted(int page, int pages)
{
    const std::lock_guard lock(mutex_);
    tally_.page = page;
    tally_.pages = pages;
    redraw();
}

void BatchView::shopEnded(const std::string& host, batch::ShopOutcome outcome, long long products,
                          const std::string& cause)
{
    const std::lock_guard lock(mutex_);
    ++tally_.done;
    ++tally_.doneThisRun;
    tally_.products += products;
    tally_.shop.clear();
    if (outcome != batch::ShopOutcome::Complete)
        ++tally_.notComplete;
    // A shop not complete stays on screen; a complete one only shows in a log.
    if (!terminal_ || outcome != batch::ShopOutcome::Complete) {
        std::fprintf(out_, "%s%s\n", drawn_ ? "\r\x1b[K" : "", batch::ShopLine(host, outcome, products, cause).c_str());
        drawn_ = false;
    }
    redraw();
}

void BatchView::endedEarlier(const std::string& host, batch::ShopOutcome outcome, long long products,
                             const std::string& cause)
{
    const std::lock_guard lock(mutex_);
    std::fprintf(out_, "%s%s (an earlier run)\n", drawn_ ? "\r\x1b[K" : "",
                 batch::ShopLine(host, outcome, products, cause).c_str());
    drawn_ = false;
}

void BatchView::redraw()
{
    if (!terminal_)
        return;
    tally_.elapsed = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started_);
    std::fprintf(out_, "\r\x1b[K%s", batch::ProgressLine(tally_).c_str());
    std::fflush(out_);
    drawn_ = true;
}

void BatchView::finish()
{
    const std::lock_guard lock(mutex_);
    if (drawn_)
        std::fputc('\n', out_);
    drawn_ = false;
}

}  // namespace korvel::console
