// Korvel: the window, then its message loop until the window is closed.

#include <QApplication>
#include <QLibraryInfo>
#include <csignal>
#include <cstdio>

#include "app/ApplicationSetup.h"
#include "app/MainWindow.h"
#include "app/SignInWindow.h"

int main(int argc, char** argv)
{
    // A server or database that drops its connection must end in a failed request, never in a
    // killed process that takes the collected list with it.
    std::signal(SIGPIPE, SIG_IGN);
    korvel::SignInWindow::PrepareBrowser();
    QApplication app(argc, argv);
    if (!korvel::SetUpApplication(app)) {
        std::fprintf(stderr,
                     "korvel: Qt's Chinese texts (qtbase_zh_CN.qm) are not in %s: its dialogs show English"
                     " (package qt6-translations-l10n)\n",
                     qPrintable(QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    }
    korvel::MainWindow window;
    window.show();
    QApplication::exec();
    return 0;
}
