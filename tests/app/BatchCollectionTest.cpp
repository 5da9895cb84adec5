// "全部采集" on the tab "店铺监控" as a user runs it against the demo shop: follow shops (a typed
// host, a bad one refused, one removed again), collect them all as one batch, stop a batch and
// find the offer to continue it after closing the window and starting anew.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "DemoShopRoute.h"
#include "app/BatchPanel.h"
#include "app/MainWindow.h"
#include "store/Store.h"
#include "store/StorePath.h"

namespace korvel::test {
namespace {

namespace names = batch_names;

QString Utf(const char* text)
{
    return QString::fromUtf8(text);
}

// The window's store follows no shop, whatever an earlier test left.
void FollowNone()
{
    auto followed = OpenStore(DefaultStorePath(), "t");
    ASSERT_TRUE(followed.ok());
    const auto hosts = followed.value()->followedShops();
    ASSERT_TRUE(hosts.ok());
    for (const std::string& host : hosts.value())
        ASSERT_TRUE(followed.value()->unfollow(host).ok());
}

size_t RunsOf(const std::string& host)
{
    auto history = OpenStore(DefaultStorePath(), "t");
    const auto runs = history.ok() ? history.value()->runs(host) : history.error();
    return runs.ok() ? runs.value().size() : 0;
}

class BatchCollection : public ::testing::Test {
protected:
    void SetUp() override
    {
        FollowNone();
        window = std::make_unique<MainWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        window.reset();
        FollowNone();
        RoutedDemoShop().setOptions({});
    }

    template <class T>
    T* control(const char* name) { return window->control<T>(name); }
    QString status() { return control<QLabel>(names::Status)->text(); }

    void add(const QString& typed)
    {
        auto* field = control<QLineEdit>(names::HostField);
        field->clear();
        QTest::keyClicks(field, typed);
        QTest::mouseClick(control<QPushButton>(names::Add), Qt::LeftButton);
    }

    void followBoth()
    {
        // Each add is stored off the window's thread: the second waits for the first, so that the
        // list's order is the order typed.
        const int before = control<QListWidget>(names::Followed)->count();
        add(Utf(kTaobaoHost));
        QTRY_COMPARE(control<QListWidget>(names::Followed)->count(), before + 1);
        add(Utf(kTmallHost).toUpper());
        QTRY_COMPARE(control<QListWidget>(names::Followed)->count(), 2);
    }

    void restart()
    {
        window->close();
        window = std::make_unique<MainWindow>();
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    std::unique_ptr<MainWindow> window;
};

TEST_F(BatchCollection, FollowedShopsAreCollectedTogetherAndEachRunRecorded)
{
    RoutedDemoShop().setOptions({});
    auto* list = control<QListWidget>(names::Followed);
    add(Utf("shop1.taobao.com/item"));
    EXPECT_TRUE(status().startsWith(Utf("不是店铺地址"))) << qPrintable(status());
    add(Utf("extra.tmall.com"));
    QTRY_COMPARE(list->count(), 1);
    list->setCurrentRow(0);
    QTest::mouseClick(control<QPushButton>(names::Remove), Qt::LeftButton);
    QTRY_COMPARE(list->count(), 0);
    followBoth();
    EXPECT_EQ(list->item(1)->text(), Utf(kTmallHost)) << "compared and kept in lower case";

    const size_t taobaoRuns = RunsOf(kTaobaoHost);
    const size_t tmallRuns = RunsOf(kTmallHost);
    QTest::mouseClick(control<QPushButton>(names::CollectAll), Qt::LeftButton);
    QTRY_VERIFY(status().startsWith(Utf("正在采集 ")));
    EXPECT_TRUE(control<QPushButton>(names::Stop)->isEnabled());
    EXPECT_FALSE(control<QPushButton>(names::CollectAll)->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(status().startsWith(Utf("批量采集完成")), 60000);
    EXPECT_EQ(status(), Utf("批量采集完成：2 家店铺全部完整"));
    EXPECT_EQ(RunsOf(kTaobaoHost), taobaoRuns + 1);
    EXPECT_EQ(RunsOf(kTmallHost), tmallRuns + 1);
    EXPECT_FALSE(control<QPushButton>(names::Continue)->isVisible());
    EXPECT_TRUE(control<QPushButton>(names::CollectAll)->isEnabled());

    restart();
    QTRY_COMPARE(control<QListWidget>(names::Followed)->count(), 2);
    EXPECT_FALSE(control<QPushButton>(names::Continue)->isVisible()) << "nothing left to continue";
}

TEST_F(BatchCollection, AStoppedOrClosedBatchIsOfferedToContinue)
{
    demo::DemoShopOptions many;
    many.pages = 30;
    RoutedDemoShop().setOptions(many);
    followBoth();
    QTest::mouseClick(control<QPushButton>(names::CollectAll), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(status().contains(Utf("第 2 页")), 10000);
    QTest::mouseClick(control<QPushButton>(names::Stop), Qt::LeftButton);
    QTRY_COMPARE(status(), Utf("批量采集已停止，进度已保存"));
    auto* offer = control<QPushButton>(names::Continue);
    QTRY_VERIFY(offer->isVisible());
    EXPECT_EQ(offer->text(), Utf("继续未完成的批量采集（剩 2 家）"));

    // Continued, then the window closed mid-shop: the next start offers the rest again.
    QTest::mouseClick(offer, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(status().contains(Utf("第 2 页")), 10000);
    restart();
    offer = control<QPushButton>(names::Continue);
    QTRY_VERIFY(offer->isVisible());
    EXPECT_EQ(offer->text(), Utf("继续未完成的批量采集（剩 2 家）"));
}

}  // namespace
}  // namespace korvel::test
