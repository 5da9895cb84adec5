#include "ConsoleScreen.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

namespace korvel::console {

namespace {

bool Inside(int index, size_t size)
{
    return index >= 0 && static_cast<size_t>(index) < size;
}

// 第 … 页，已采集 … 件，用时 … 秒
constexpr char ProgressPage[] = "\xb5\xda ";
constexpr char ProgressProducts[] = " \xd2\xb3\xa3\xac\xd2\xd1\xb2\xc9\xbc\xaf ";
constexpr char ProgressElapsed[] = " \xbc\xfe\xa3\xac\xd3\xc3\xca\xb1 ";
constexpr char ProgressSeconds[] = " \xc3\xeb";

// A terminal line redrawn more often than this only flickers.
constexpr auto ProgressInterval = std::chrono::milliseconds(100);

}  // namespace

ConsoleScreen::ConsoleScreen(std::string address, CollectionSettings settings, Terminal& terminal)
    : address_(std::move(address)), settings_(std::move(settings)), terminal_(terminal)
{
}

void ConsoleScreen::setCell(int row, int column, const std::string& text)
{
    if (Inside(row, rows_.size()) && Inside(column, Columns))
        rows_[row][column] = text;
}

std::string ConsoleScreen::cellText(int row, int column) const
{
    if (Inside(row, rows_.size()) && Inside(column, Columns))
        return rows_[row][column];
    return {};
}

void ConsoleScreen::showMessage(const std::string& message, const std::string& title)
{
    terminal_.line(title + ": " + message);
}

}  // namespace korvel::console

namespace korvel::console {

void ConsoleScreen::pageStarted(int page, int pageCount)
{
    page_ = page;
    pageCount_ = pageCount;
    shown_ = {};
    setTotalLabel({});
}

void ConsoleScreen::setTotalLabel(const std::string& caption)
{
    if (!terminal_.interactive()) {
        if (!caption.empty())
            terminal_.line(caption);
        return;
    }
    if (std::chrono::steady_clock::now() - shown_ < ProgressInterval && !caption.empty())
        return;
    showProgress();
}

void ConsoleScreen::showProgress()
{
    const auto now = std::chrono::steady_clock::now();
    shown_ = now;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(now - started_).count();
    terminal_.progress(ProgressPage + std::to_string(page_) + "/" + std::to_string(pageCount_) + ProgressProducts +
                       std::to_string(rows_.size()) + ProgressElapsed + std::to_string(seconds) + ProgressSeconds);
}

}  // namespace korvel::console

namespace korvel::console {

bool ConsoleScreen::await(const std::function<void()>& work)
{
    if (!terminal_.interactive())
        return CollectionScreen::await(work);
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::thread requests([&] {
        work();
        std::lock_guard lock(mutex);
        done = true;
        finished.notify_one();
    });
    std::unique_lock lock(mutex);
    while (!finished.wait_for(lock, std::chrono::seconds(1), [&] { return done; }))
        showProgress();
    lock.unlock();
    requests.join();
    return !cancellation().cancelled();
}

}  // namespace korvel::console
