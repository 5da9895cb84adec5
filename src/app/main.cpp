// Korvel: the window, then its message loop until the window is closed.

#include <QApplication>

#include <csignal>

#include "app/MainWindow.h"

int main(int argc, char** argv)
{
    // A server or database that drops its connection must end in a failed request, never in a
    // killed process that takes the collected list with it.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    korvel::MainWindow window;
    window.show();
    QApplication::exec();
    return 0;
}
