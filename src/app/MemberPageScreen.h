#pragma once

// The member presses' view of the page "会员导入": its fields, buttons, status label and the
// member list 超级列表框2. Jobs reach it through post(), the window's job runner.
//
// Rows arrive in batches; the list announces them and scrolls to the newest at most every 50 ms,
// so a read of 100,000 members costs a few hundred repaints rather than one per member.

#include "app/Throttle.h"
#include "app/MemberScreen.h"

class QTreeView;

namespace korvel {

class WindowParts;
class JobRunner;

class MemberPageScreen : public MemberScreen {
public:
    MemberPageScreen(WindowParts& window, JobRunner& jobs);

    void post(std::function<void()> work) override;
    std::string fieldText(MemberField field) override;
    int schemaValue() override;
    void setStatus(const std::string& caption) override;
    void setCaption(MemberControl control, const std::string& caption) override;
    void setEnabled(MemberControl control, bool enabled) override;
    void setVisible(MemberControl control, bool visible) override;
    void moveMemberList(int left) override;
    void setMemberListWidth(int width) override;
    void clearMembers() override;
    void appendMembers(const MemberBatch& rows) override;
    std::vector<MemberBatch> members() override;
    int selectedMember() override;
    bool askToGoOn(const std::string& message, const std::string& title) override;
    void showMessage(const std::string& message, const std::string& title, MessageIcon icon) override;

    QTreeView* list() const { return list_; }

private:
    QWidget* widget(MemberControl control) const;
    void placeList(QRect layoutRect);
    void showPendingRows();

    WindowParts& window_;
    JobRunner& jobs_;
    QTreeView* list_;
    Throttle scrollToNewest_;
    // The list's rows as the read handed them on: what an upload sends, without copying the list.
    std::vector<MemberBatch> batches_;
};

}  // namespace korvel
