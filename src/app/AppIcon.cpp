#include "app/AppIcon.h"

#include <QDir>

namespace korvel {

QIcon MakeAppIcon()
{
    // One folder per size, "16x16" to "256x256", as the hicolor theme has them.
    const QString theme = QStringLiteral(":/icons/");
    QIcon icon;
    for (const QString& size : QDir(theme).entryList()) {
        icon.addFile(theme + size + QStringLiteral("/apps/" KORVEL_APP_ID ".png"));
    }
    return icon;
}

}  // namespace korvel
