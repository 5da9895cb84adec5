// The sign-in window's browser in a test program of its own: Qt WebEngine wants its attributes set
// before the application object, and its own code trips AddressSanitizer's check of matching
// allocation sizes, which this program alone switches off.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>

#include "app/ApplicationSetup.h"
#include "app/SignInWindow.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The kept session, Qt's settings and the browser's files land in folders of this run's own.
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "no temporary folder for the tests' data: %s\n", qPrintable(home.errorString()));
        return 1;
    }
    for (const char* folder : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"}) {
        const QString path = home.filePath(QString::fromLatin1(folder));
        QDir().mkpath(path);
        qputenv(folder, QFile::encodeName(path));
    }
    // The browser engine keeps its certificate database in ~/.pki/nssdb, the one the user's own
    // Chromium reads: it is made in this run's folder instead.
    qputenv("HOME", QFile::encodeName(home.path()));
    korvel::SignInWindow::PrepareBrowser();
    QApplication app(argc, argv);
    korvel::SetUpApplication(app);
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
