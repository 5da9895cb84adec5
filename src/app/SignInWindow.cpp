#include "app/SignInWindow.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>
#include <unistd.h>

#include "base/Overrides.h"
#include "session/CookieStore.h"
#include "session/SignInCertificate.h"

#ifdef KORVEL_HAVE_WEBENGINE
#include <QFile>
#include <QNetworkCookie>
#include <QSslCertificate>
#include <QWebEngineCertificateError>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#endif

namespace korvel {

#ifdef KORVEL_HAVE_WEBENGINE

namespace {

const char SignInPage[] = "https://login.taobao.com/member/login.jhtml";

bool IsSignInHost(const QString& host)
{
    return host.startsWith(QStringLiteral("login.")) || host.startsWith(QStringLiteral("passport."));
}

Cookie FromBrowser(const QNetworkCookie& c)
{
    Cookie cookie;
    cookie.domain = c.domain().toStdString();
    cookie.includeSubdomains = cookie.domain.starts_with('.');
    cookie.path = c.path().isEmpty() ? "/" : c.path().toStdString();
    cookie.secure = c.isSecure();
    cookie.httpOnly = c.isHttpOnly();
    cookie.expires = c.isSessionCookie() ? 0 : c.expirationDate().toSecsSinceEpoch();
    cookie.name = c.name().toStdString();
    cookie.value = c.value().toStdString();
    return cookie;
}

// KORVEL_CONNECT_TO's "HOST:PORT:ADDRESS:PORT" entries as the browser's host rules, quoted: Qt
// splits the flags at spaces outside quotes.
QByteArray HostRules()
{
    QByteArray rules;
    for (const QString& entry : QString::fromStdString(overrides::ConnectTo()).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QStringList parts = entry.split(QLatin1Char(':'));
        if (parts.size() != 4)
            continue;
        rules += (rules.isEmpty() ? "" : ",") + QStringLiteral("MAP %1:%2 %3:%4").arg(parts[0], parts[1], parts[2], parts[3]).toUtf8();
    }
    return rules;
}

// A certificate signed by a CA of KORVEL_CA_FILE (the demo shop's) is trusted, as the requests
// trust it; the browser knows only the system's CAs. Only an unknown authority is ever forgiven,
// and only when the chain verifies against the file's CAs for this host now: a name or date the
// browser refused stays refused.
bool IssuedByExtraCa(const QWebEngineCertificateError& error)
{
    QFile file(QString::fromStdString(overrides::CaFile()));
    if (file.fileName().isEmpty() || error.type() != QWebEngineCertificateError::CertificateAuthorityInvalid ||
        !file.open(QIODevice::ReadOnly))
        return false;
    std::vector<std::string> chain;
    for (const QSslCertificate& certificate : error.certificateChain())
        chain.push_back(certificate.toPem().toStdString());
    const QByteArray cas = file.read(1 << 20);
    return VerifyChain(chain, std::string_view(cas.constData(), static_cast<size_t>(cas.size())),
                       error.url().host().toStdString(), UnixNow()) == ChainVerdict::Trusted;
}

}  // namespace

bool SignInWindow::Available()
{
    return true;
}

void SignInWindow::PrepareBrowser()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (const QByteArray rules = HostRules(); !rules.isEmpty())
        flags += " \"--host-resolver-rules=" + rules + "\"";
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    // Chromium's sandbox refuses to start as root.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

SignInWindow::SignInWindow(QWidget* owner) : QWidget(owner, Qt::Window)
{
    setWindowTitle(QStringLiteral("登录淘宝/天猫"));
    resize(900, 640);
    profile_ = new QWebEngineProfile(this);  // off the record: nothing of it on disk
    view_ = new QWebEngineView(this);
    auto* page = new QWebEnginePage(profile_, view_);
    view_->setPage(page);
    status_ = new QLabel(QStringLiteral("请在下方登录淘宝或天猫（扫码、密码或滑块均可）"), this);
    status_->setObjectName(QString::fromUtf8(SignInStatusName));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(view_, 1);
    // The cookies of a response may come in just after the browser has moved on: each one that
    // comes once it has left the sign-in pages is kept too.
    connect(profile_->cookieStore(), &QWebEngineCookieStore::cookieAdded, this, [this](const QNetworkCookie& c) {
        if (IsMarketplaceDomain(c.domain().toStdString())) {
            AddCookies(cookies_, {FromBrowser(c)});
            keepIfLeft();
        }
    });
    connect(page, &QWebEnginePage::certificateError, this, [](QWebEngineCertificateError error) {
        if (IssuedByExtraCa(error))
            error.acceptCertificate();
    });
    connect(view_, &QWebEngineView::urlChanged, this, [this](const QUrl& url) {
        left_ = url.scheme() == QStringLiteral("https") && !url.host().isEmpty() && !IsSignInHost(url.host());
        keepIfLeft();
    });
}

// The page goes before the profile it was made with.
SignInWindow::~SignInWindow()
{
    delete view_;
}

void SignInWindow::start()
{
    left_ = false;
    view_->load(QUrl(QString::fromLatin1(SignInPage)));
    show();
    raise();
}

// Left the sign-in pages with the marketplace's cookies: signed in.
void SignInWindow::keepIfLeft()
{
    const std::vector<Cookie> kept = KeptCookies(cookies_, UnixNow());
    if (!left_ || kept.empty())
        return;
    const std::string path = DefaultSessionPath();
    const SessionFileResult saved = AddToStore(path, kept);
    status_->setText(saved.ok() ? QStringLiteral("已登录") : QStringLiteral("登录状态无法保存：%1").arg(QString::fromStdString(saved.path)));
    if (saved.ok())
        emit signedIn();
}

#else

bool SignInWindow::Available()
{
    return false;
}

void SignInWindow::PrepareBrowser() {}

SignInWindow::SignInWindow(QWidget* owner) : QWidget(owner, Qt::Window) {}

SignInWindow::~SignInWindow() = default;

void SignInWindow::start() {}

void SignInWindow::keepIfLeft() {}

#endif

}  // namespace korvel
