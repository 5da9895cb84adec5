// One QApplication for every window test; the tests run inside it, on its thread, set up as the
// program sets itself up (names, Qt's Chinese texts).

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

#include "app/ApplicationSetup.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // The window tests never need a display, not even to list themselves for ctest.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt keeps what it saves (the file dialog's history) under the XDG folders: the tests get
    // folders of their own, so the user's configuration never sees a test folder.
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "no temporary folder for the tests' settings: %s\n",
                     qPrintable(home.errorString()));
        return 1;
    }
    for (const char* folder : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"}) {
        const QString path = home.filePath(QString::fromLatin1(folder));
        QDir().mkpath(path);
        qputenv(folder, QFile::encodeName(path));
    }
    QApplication app(argc, argv);
    korvel::SetUpApplication(app);
    // Tests close windows on purpose; the application must outlive them.
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
