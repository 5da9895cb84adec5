#include "app/BackendSetting.h"

#include <QSettings>
#include <QStandardPaths>

#include "base/Overrides.h"

namespace korvel {

namespace {

constexpr char kKey[] = "members/backend";

QString SettingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/korvel/korvel.ini");
}

}  // namespace

std::string SavedBackendAddress()
{
    QSettings settings(SettingsPath(), QSettings::IniFormat);
    return settings.value(QLatin1String(kKey)).toString().toStdString();
}

bool SaveBackendAddress(const std::string& address)
{
    QSettings settings(SettingsPath(), QSettings::IniFormat);
    settings.setValue(QLatin1String(kKey), QString::fromStdString(address));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::string BackendAddressAtStart()
{
    if (std::string host = overrides::BackendHost(); !host.empty()) {
        return host;
    }
    const std::string saved = SavedBackendAddress();
    return saved.empty() ? kDefaultBackendHost : saved;
}

}  // namespace korvel
