// Signing in from the window with its built-in browser, against the demo shop's sign-in form,
// then a collection from a shop that demands sign-in. Where Qt WebEngine cannot start (a build
// without it, or a machine whose browser process dies at once), the test skips with a line.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <cstdlib>
#include <filesystem>

#include "app/UserActions.h"
#include "app/ControlNames.h"
#include "app/MainWindow.h"
#include "app/SignInMenu.h"
#include "app/SignInWindow.h"
#include "demo-shop/DemoShop.h"
#include "demo-shop/SignIn.h"
#include "session/CookieStore.h"

#ifdef KORVEL_HAVE_WEBENGINE
#include <QWebEnginePage>
#include <QWebEngineView>
#endif

namespace korvel::test {
namespace {

constexpr char SignInShop[] = "signin35897120.taobao.com";

// The routing variables for this shop, put back as they were afterwards.
class Routed {
public:
    explicit Routed(const demo::DemoShop& shop)
    {
        for (const char* name : {"KORVEL_CONNECT_TO", "KORVEL_CA_FILE"})
            saved_.emplace_back(name, std::getenv(name) ? std::getenv(name) : "");
        const std::string route = shop.connectTo(SignInShop) + "," + shop.connectTo(demo::SignInHost) + "," +
                                  shop.connectTo(demo::SignInJumpHost);
        setenv("KORVEL_CONNECT_TO", route.c_str(), 1);
        setenv("KORVEL_CA_FILE", shop.caFile().c_str(), 1);
    }
    ~Routed()
    {
        for (const auto& [name, value] : saved_)
            setenv(name.c_str(), value.c_str(), 1);
    }

private:
    std::vector<std::pair<std::string, std::string>> saved_;
};

QAction* MenuAction(MainWindow& window, const char* text)
{
    auto* button = window.findChild<QToolButton*>(QString::fromUtf8(SignInButtonName));
    if (!button || !button->menu())
        return nullptr;
    for (QAction* action : button->menu()->actions()) {
        if (action->text() == QString::fromUtf8(text))
            return action;
    }
    return nullptr;
}

TEST(SignInWindowTest, SignsInWithTheBuiltInBrowserAndTheCollectionCarriesTheSession)
{
#ifndef KORVEL_HAVE_WEBENGINE
    GTEST_SKIP() << "built without Qt WebEngine (qt6-webengine-dev): no sign-in browser to drive";
#else
    demo::DemoShopOptions options;
    options.pages = 2;
    options.itemsPerPage = 5;
    options.requireSignIn = true;
    demo::DemoShop shop(options);
    ASSERT_TRUE(shop.start());
    const Routed routed(shop);
    SignInWindow::PrepareBrowser();
    const std::string store = DefaultSessionPath();
    std::filesystem::remove(store);

    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QAction* signIn = MenuAction(window, "登录淘宝/天猫…");
    ASSERT_NE(signIn, nullptr);
    signIn->trigger();
    auto* browser = window.findChild<SignInWindow*>();
    ASSERT_NE(browser, nullptr);
    auto* view = browser->findChild<QWebEngineView*>();
    ASSERT_NE(view, nullptr);

    bool formShown = false;
    QObject::connect(view, &QWebEngineView::loadFinished, view, [&](bool ok) {
        formShown = formShown || (ok && view->url().host() == QString::fromLatin1(demo::SignInHost));
    });
    if (!QTest::qWaitFor([&] { return formShown; }, 60000))
        GTEST_SKIP() << "Qt WebEngine did not show the sign-in page within 60 s here (no GPU or sandbox support?)";
    view->page()->runJavaScript(QStringLiteral("document.getElementById('J_SubmitStatic').click();"));
    auto* status = browser->findChild<QLabel*>(QString::fromUtf8(SignInStatusName));
    ASSERT_NE(status, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status->text() == QStringLiteral("已登录"); }, 60000))
        << status->text().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return LoadStore(store).cookies.size() == 2; }, 10000))
        << "the session cookie of each marketplace";
    browser->close();

    auto* field = window.control<QLineEdit>(names::ShopAddress);
    field->setText(QString::fromLatin1(SignInShop));
    const auto box = AnswerNextBox();
    QTest::mouseClick(window.control<QPushButton>(names::StartButton), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return box->shown; }, 60000));
    EXPECT_TRUE(box->text.contains(QStringLiteral("本次采集到的商品共有：10件！"))) << box->text.toStdString();

    ASSERT_NE(MenuAction(window, "退出登录"), nullptr);
    const auto signedOut = AnswerNextBox();
    MenuAction(window, "退出登录")->trigger();
    EXPECT_EQ(signedOut->text, QStringLiteral("已退出登录"));
    EXPECT_FALSE(std::filesystem::exists(store));
#endif
}

}  // namespace
}  // namespace korvel::test
