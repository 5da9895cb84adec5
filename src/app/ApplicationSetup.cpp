#include "app/ApplicationSetup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace korvel {
namespace {

// Qt's buttons and dialogs (保存, 取消, 确定, 查找范围) whatever the user's locale: every other text
// of the window is Chinese too.
bool LoadQtChinese(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QApplication::installTranslator(translator);
}

}  // namespace

bool SetUpApplication(QApplication& app)
{
    QApplication::setApplicationName(QString::fromLatin1(ApplicationName));
    QApplication::setDesktopFileName(QStringLiteral(KORVEL_APP_ID));
    return LoadQtChinese(app);
}

}  // namespace korvel
