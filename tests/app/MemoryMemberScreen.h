#pragma once

// The member page as plain data, for running the member presses without a window. One lock stands
// for the window's thread: posted work runs at once on the job's thread, taking turns on it with
// the test's own presses (onWindow).

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "app/MemberScreen.h"

namespace korvel::test {

struct ShownMessage {
    std::string text;
    std::string title;
    MessageIcon icon;
};

struct ControlState {
    std::string caption;
    bool enabled = true;
    bool visible = true;
};

class MemoryMemberScreen : public MemberScreen {
public:
    MemoryMemberScreen();

    // Everything below is plain state; touch it inside onWindow() while a worker may run.
    std::map<MemberField, std::string> fields;
    int schema = 52;
    std::string status;
    std::vector<std::string> statusHistory;
    std::map<MemberControl, ControlState> controls;
    int listLeft = 255;
    int listWidth = 712;
    std::vector<MemberRecord> rows;
    int selected = -1;
    std::vector<ShownMessage> messages;
    int appendCalls = 0;
    // Called on the window's turn after rows were appended.
    std::function<void()> afterAppend;
    // The questions asked, and the answer each gets ("继续" while true).
    std::vector<ShownMessage> questions;
    bool goOn = true;
    // Once set, posted work no longer runs, as on a closing window.
    bool closing = false;

    // Runs `action` on the window's turn.
    void onWindow(const std::function<void()>& action);
    // Waits until `condition` (checked on the window's turn) holds; false after the timeout.
    bool waitFor(const std::function<bool()>& condition, int seconds = 60);

    void post(std::function<void()> work) override;
    std::string fieldText(MemberField field) override;
    int schemaValue() override { return schema; }
    void setStatus(const std::string& caption) override;
    void setCaption(MemberControl control, const std::string& caption) override;
    void setEnabled(MemberControl control, bool enabled) override { controls[control].enabled = enabled; }
    void setVisible(MemberControl control, bool visible) override { controls[control].visible = visible; }
    void moveMemberList(int left) override { listLeft = left; }
    void setMemberListWidth(int width) override { listWidth = width; }
    void clearMembers() override { rows.clear(); }
    void appendMembers(const MemberBatch& added) override;
    std::vector<MemberBatch> members() override;
    int selectedMember() override { return selected; }
    bool askToGoOn(const std::string& message, const std::string& title) override
    {
        questions.push_back({message, title, MessageIcon::None});
        return goOn;
    }
    void showMessage(const std::string& message, const std::string& title, MessageIcon icon) override;

    const ControlState& control(MemberControl c) { return controls[c]; }

private:
    std::recursive_mutex turn_;
    std::condition_variable_any changed_;
};

}  // namespace korvel::test
