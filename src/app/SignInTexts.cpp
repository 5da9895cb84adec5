#include "app/SignInTexts.h"

#include <cstring>

namespace korvel {
namespace {

QString BrowserName(const ImportSource& source)
{
    switch (source.browser) {
        case Browser::Firefox:
            return QStringLiteral("Firefox");
        case Browser::Chrome:
            return QStringLiteral("Chrome");
        default:
            return QStringLiteral("Chromium");
    }
}

QString Local(const std::string& text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

QString FailureText(const ImportResult& r, const ImportSource& source)
{
    const QString count = QString::number(r.undecrypted);
    switch (r.failure) {
        case ImportFailure::ProfileNotFound:
            return QStringLiteral("找不到 %1 的用户配置：%2").arg(BrowserName(source), Local(r.detail));
        case ImportFailure::NoDatabase:
            return QStringLiteral("用户配置 %1 中没有 Cookie 数据库").arg(Local(r.detail));
        case ImportFailure::DatabaseUnusable:
            return QStringLiteral("Cookie 数据库无法读取：%1").arg(Local(r.detail));
        case ImportFailure::FileUnreadable:
            return QStringLiteral("文件无法读取：%1").arg(Local(r.detail));
        case ImportFailure::Keyring:
            return QStringLiteral("%1 个 Cookie 无法解密：%2 用桌面密钥环（Secret Service）中的密码加密了它们，"
                                  "而该密码无法取得（%3）。请在桌面会话中解锁密钥环后重试，或以 "
                                  "--password-store=basic 启动浏览器、重新登录后再导入。")
                .arg(count, BrowserName(source), Local(r.detail));
        case ImportFailure::CannotDecrypt:
            return QStringLiteral("%1 个 Cookie 无法用 %2 在 Linux 上使用的任何密钥解密（密钥环中的密码可能已更改）。"
                                  "请以 --password-store=basic 启动浏览器、重新登录后再导入。")
                .arg(count, BrowserName(source));
        default:
            return QStringLiteral("其中没有未过期的淘宝/天猫 Cookie");
    }
}

}  // namespace

QString StoreProblemText(const SessionFileResult& result)
{
    if (result.failure == SessionFileFailure::NoHome)
        return QStringLiteral("没有保存登录状态的位置（XDG_DATA_HOME 与 HOME 均未设置）");
    return QStringLiteral("%1：%2").arg(Local(result.path),
                                       Local(result.detail.empty() ? std::strerror(result.error) : result.detail.c_str()));
}

QString ImportOutcomeText(const StoreImport& done, const ImportSource& source)
{
    if (done.read.failure != ImportFailure::None)
        return QStringLiteral("未导入任何 Cookie：") + FailureText(done.read, source);
    if (!done.saved.ok())
        return QStringLiteral("未导入任何 Cookie：登录状态无法保存，") + StoreProblemText(done.saved);
    return QStringLiteral("已导入 %1 个淘宝/天猫 Cookie，已登录").arg(done.read.cookies.size());
}

}  // namespace korvel
