#pragma once

// What a collection run needs of the window it runs in. The window implements it with its
// controls; the console collector with stderr and a plain table.

#include <functional>
#include <string>

#include "base/Cancellation.h"

namespace korvel {

class CollectionScreen {
public:
    CollectionScreen() = default;
    // A copy starts with a cancellation of its own, not yet cancelled.
    CollectionScreen(const CollectionScreen&) {}
    CollectionScreen& operator=(const CollectionScreen&) { return *this; }
    virtual ~CollectionScreen() = default;

    // Read when the run needs them, so edits made during a run count for later pages.
    virtual std::string shopAddress() = 0;      // 编辑框1
    virtual std::string itemAreaStart() = 0;    // 编辑框2
    virtual std::string itemAreaEnd() = 0;      // 编辑框3
    virtual std::string tmallQueryStart() = 0;  // 编辑框7
    virtual std::string tmallQueryEnd() = 0;    // 编辑框8

    virtual void setStartButton(const std::string& caption, bool enabled) = 0;  // 按钮1
    virtual void setTotalLabel(const std::string& caption) = 0;                 // 标签1
    virtual void setPageCountLabel(const std::string& caption) = 0;             // 标签2

    // The run turns to page `page` of `pageCount`; a screen with no place for it ignores it.
    virtual void pageStarted(int /*page*/, int /*pageCount*/) {}

    // The product list 超级列表框1.
    virtual void clearRows() = 0;
    virtual void appendRow() = 0;
    virtual void setCell(int row, int column, const std::string& text) = 0;

    // Lets the window handle what is pending once. False once the window is closing: the run then
    // stops at once and shows nothing more.
    [[nodiscard]] virtual bool processEvents() = 0;

    // A modal box with the message, the title and one OK button.
    virtual void showMessage(const std::string& message, const std::string& title) = 0;

    // Runs `work`, one page's requests, and returns when it has ended. Here it runs in place; a
    // screen that must stay responsive meanwhile runs it elsewhere. False once the screen is
    // closing: the run's requests were then cancelled and the run stops, showing nothing more.
    [[nodiscard]] virtual bool await(const std::function<void()>& work)
    {
        work();
        return !cancel_.cancelled();
    }

    // Ends the run's requests and pauses at once, from any thread.
    Cancellation& cancellation() { return cancel_; }

private:
    Cancellation cancel_;
};

}  // namespace korvel
