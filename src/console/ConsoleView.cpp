#include "ConsoleView.h"

#include "text/Gbk.h"
#include "words/RunTexts.h"

namespace korvel::console {

namespace {


// A terminal line redrawn more often than this only flickers.
constexpr auto ProgressInterval = std::chrono::milliseconds(100);

}  // namespace

void ConsoleView::pageCountRead(int shown)
{
    std::lock_guard lock(mutex_);
    terminal_.line(PageCountCaption(shown));
}

void ConsoleView::pageStarted(int page, int pageCount)
{
    std::lock_guard lock(mutex_);
    page_ = page;
    pageCount_ = pageCount;
    if (terminal_.interactive())
        showProgress();
}

void ConsoleView::productsFound(const ProductSlice& products)
{
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < products->size(); ++i) {
        ++products_;
        if (!terminal_.interactive())
            terminal_.line(ProgressCaption(products_));
    }
    if (terminal_.interactive() && std::chrono::steady_clock::now() - shown_ >= ProgressInterval)
        showProgress();
}

void ConsoleView::finished(const CollectionRun& run)
{
    std::lock_guard lock(mutex_);
    run_ = run;
    ended_ = true;
    if (run.end == RunEnd::Interrupted)
        return;
    if (run.end != RunEnd::Failed) {
        if (terminal_.interactive())
            showProgress();
        else
            terminal_.line(TotalCaption(run.productCount));
    }
    const RunMessage message = ClosingMessage(run);
    terminal_.line(message.title + ": " + message.message);
}

void ConsoleView::tick()
{
    std::lock_guard lock(mutex_);
    if (terminal_.interactive() && page_ > 0 && !ended_)
        showProgress();
}

CollectionRun ConsoleView::takeRun()
{
    std::lock_guard lock(mutex_);
    return std::move(run_);
}

void ConsoleView::showProgress()
{
    const auto now = std::chrono::steady_clock::now();
    shown_ = now;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now - started_).count();
    terminal_.progress(gbk::FromUtf8("第 " + std::to_string(page_) + "/" + std::to_string(pageCount_) + " 页，已采集 " +
                                     std::to_string(products_) + " 件，用时 " + std::to_string(seconds) +
                                     " 秒"));
}

}  // namespace korvel::console
