// Korvel: the window, then its message loop until the window is closed.

#include <QApplication>

#include "app/MainWindow.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    korvel::MainWindow window;
    window.show();
    QApplication::exec();
    return 0;
}
