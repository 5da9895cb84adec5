#pragma once

// The page "会员导入" at work: 按钮6 connects, 按钮7 reads, 按钮8 uploads every member, and a
// right-click on 超级列表框2 offers "导出" for the selected member, after an upload with failures
// "重新导入失败的会员（N）", and last "后台地址…", where the operator sets the back-end's address.
// Made once with the window and owned by it.
//
// The page's jobs run on the window's job runner and post to the page through it. When the window
// closes, the page cuts short whatever the jobs wait on and the runner ends them, all while every
// widget still exists. No job waits for the window, so neither has to run the window's events
// meanwhile.

#include <QObject>

#include "app/MemberPageScreen.h"
#include "app/MemberPageSession.h"

class QAction;
class QPoint;

namespace korvel {

class WindowParts;

class MemberPage : public QObject {
    Q_OBJECT
public:
    explicit MemberPage(WindowParts& window);
    ~MemberPage() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

    MemberPageSession& session() { return session_; }
    MemberPageScreen& screen() { return screen_; }

private:
    void showMemberMenu(const QPoint& at);
    void editBackendAddress();
    void stopWorkers();

    WindowParts& window_;
    QAction* retryAction_;    // "重新导入失败的会员（N）", in the member menu after "导出" while N > 0
    QAction* addressAction_;  // "后台地址…", last in the member menu
    MemberPageScreen screen_;
    MemberPageSession session_;  // after the screen: its jobs end before the screen goes away
};

// Gives the window its member page.
void AttachMemberPage(WindowParts& window);

}  // namespace korvel
