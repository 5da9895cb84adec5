// One QApplication for every window test; the tests run inside it, on its thread.

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // The window tests never need a display, not even to list themselves for ctest.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // Tests close windows on purpose; the application must outlive them.
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
