#pragma once

// The page "会员导入" at work: 按钮6 connects, 按钮7 reads, 按钮8 uploads every member, and a
// right-click on 超级列表框2 offers "导出" for the selected member. Made once with the window and
// owned by it.
//
// The page has a bridge of its own for its workers, closed when the window closes and, at the
// latest, when the page goes away: the window destroys its controls before its children, so
// nothing a worker queued may run after that.

#include <QObject>

#include "app/MemberPageScreen.h"
#include "app/UiBridge.h"
#include "members/MemberSession.h"

class QPoint;

namespace korvel {

class MainWindow;

class MemberPage : public QObject {
    Q_OBJECT
public:
    explicit MemberPage(MainWindow& window);
    // Closes the bridge and waits for a running worker, whose next call into the window then gives
    // up so that it ends.
    ~MemberPage() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

    MemberSession& session() { return session_; }
    MemberPageScreen& screen() { return screen_; }

private:
    void showMemberMenu(const QPoint& at);

    MainWindow& window_;
    UiBridge bridge_;
    MemberPageScreen screen_;
    MemberSession session_;  // after the screen: its workers end before the screen goes away
};

// Gives the window its member page.
void AttachMemberPage(MainWindow& window);

}  // namespace korvel
