#pragma once

// What a collection run needs of the window it runs in. The window implements it with its
// controls; the console collector with stderr and a plain table.

#include <string>

namespace korvel {

class CollectionScreen {
public:
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

    // The product list 超级列表框1.
    virtual void clearRows() = 0;
    virtual void appendRow() = 0;
    virtual void setCell(int row, int column, const std::string& text) = 0;

    // Lets the window handle what is pending once. False once the window is closing: the run then
    // stops at once and shows nothing more.
    virtual bool processEvents() = 0;

    // A modal box with the message, the title and one OK button.
    virtual void showMessage(const std::string& message, const std::string& title) = 0;
};

}  // namespace korvel
