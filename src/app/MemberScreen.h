#pragma once

// What the member page's presses and the ends of its jobs need of the window. The window implements
// it with its controls; tests with a plain in-memory page.
//
// Threads: every method except post() is called on the window's own thread only — from a button
// handler, or inside posted work. A job reaches the page through post() alone, which never waits.

#include <functional>
#include <string>
#include <vector>

#include "members/MemberJobs.h"

namespace korvel {

enum class MemberField {
    Host,             // 编辑框9
    User,             // 编辑框10
    Password,         // 编辑框11
    Database,         // 编辑框12
    Port,             // 编辑框13
    AccountId,        // 编辑框15, the public account
    BackendUser,      // 编辑框4
    BackendPassword,  // 编辑框5
};

enum class MemberControl {
    ReadButton,       // 按钮7
    UploadButton,     // 按钮8
    SchemaCombo,      // 组合框1
    ConnectionGroup,  // 分组框2 and everything in it
    WarningLabel,     // 标签21
};

enum class MessageIcon { None, Error };

class MemberScreen {
public:
    virtual ~MemberScreen() = default;

    // Queues `work` for the window's thread and returns at once. Work posted once the window is
    // closing never runs.
    virtual void post(std::function<void()> work) = 0;

    virtual std::string fieldText(MemberField field) = 0;
    // The item value of the selected 组合框1 entry (52 or 60), -1 when none is selected.
    virtual int schemaValue() = 0;

    virtual void setStatus(const std::string& caption) = 0;  // 标签19
    virtual void setCaption(MemberControl control, const std::string& caption) = 0;
    virtual void setEnabled(MemberControl control, bool enabled) = 0;
    virtual void setVisible(MemberControl control, bool visible) = 0;
    virtual void moveMemberList(int left) = 0;       // keeps top, width and height
    virtual void setMemberListWidth(int width) = 0;  // keeps the position and height

    // The member list 超级列表框2.
    virtual void clearMembers() = 0;
    // Appends the rows in order and scrolls the last one into view.
    virtual void appendMembers(const MemberBatch& rows) = 0;
    // Every row of the list, shared with the list rather than copied.
    virtual std::vector<MemberBatch> members() = 0;
    // 0-based index of the selected row, -1 when none is.
    virtual int selectedMember() = 0;

    // A modal question with the buttons "继续" and "停止": true for "继续".
    virtual bool askToGoOn(const std::string& message, const std::string& title) = 0;

    // A modal box with one OK button; an empty title shows the default title "信息：".
    virtual void showMessage(const std::string& message, const std::string& title, MessageIcon icon) = 0;
};

}  // namespace korvel
