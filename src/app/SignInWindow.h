#pragma once

// The sign-in window: a built-in browser (Qt WebEngine, when the build has it) on the
// marketplace's sign-in page. The user signs in as in any browser (QR code, password, slider);
// once the browser has left the sign-in pages, the marketplace's cookies go into the kept session
// and the window says "已登录". Its browser keeps nothing on disk of its own.

#include <QWidget>
#include <vector>

#include "session/Cookie.h"

class QLabel;
class QWebEngineProfile;
class QWebEngineView;

namespace korvel {

inline constexpr char SignInStatusName[] = "登录提示";

class SignInWindow : public QWidget {
    Q_OBJECT
public:
    // False when this build has no built-in browser.
    static bool Available();
    // Before the application object: what the browser needs set first (its sandbox, which cannot
    // run as root, and KORVEL_CONNECT_TO's routes).
    static void PrepareBrowser();

    explicit SignInWindow(QWidget* owner);
    ~SignInWindow() override;

    // Shows the window on the sign-in page, from the beginning.
    void start();

signals:
    // The session was kept.
    void signedIn();

private:
    void keepIfLeft();

    QWebEngineProfile* profile_ = nullptr;
    QWebEngineView* view_ = nullptr;
    QLabel* status_ = nullptr;
    std::vector<Cookie> cookies_;  // the marketplace's, as the browser has them
    bool left_ = false;            // the browser has left the sign-in pages
};

}  // namespace korvel
