#pragma once

// The page "会员导入" at work: 按钮6 connects, 按钮7 reads, 按钮8 uploads every member, and a
// right-click on 超级列表框2 offers "导出" for the selected member and, after an upload with
// failures, "重新导入失败的会员（N）". Made once with the window and owned by it.
//
// The page has a bridge of its own for its workers. When the window closes, the page closes the
// bridge, cuts short whatever the workers wait on and joins them, all while every widget still
// exists; a window destroyed without being closed gets the same from the page's destructor, which
// then runs nothing but the workers' refused calls.

#include <QObject>

#include "app/MemberPageScreen.h"
#include "app/UiBridge.h"
#include "members/MemberSession.h"

class QAction;
class QPoint;

namespace korvel {

class MainWindow;

class MemberPage : public QObject {
    Q_OBJECT
public:
    explicit MemberPage(MainWindow& window);
    ~MemberPage() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

    MemberSession& session() { return session_; }
    MemberPageScreen& screen() { return screen_; }

private:
    void showMemberMenu(const QPoint& at);
    void stopWorkers();

    MainWindow& window_;
    QAction* retryAction_;  // "重新导入失败的会员（N）", in the member menu after "导出" while N > 0
    UiBridge bridge_;
    MemberPageScreen screen_;
    MemberSession session_;  // after the screen: its workers end before the screen goes away
};

// Gives the window its member page.
void AttachMemberPage(MainWindow& window);

}  // namespace korvel
