// A collection as a user runs it from the window: type the shop, press 开始采集, watch the list
// grow and the counters move, answer the box at the end.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <unistd.h>

#include <functional>

#include "DemoShopRoute.h"
#include "UserActions.h"
#include "app/ControlNames.h"
#include "app/GbkCodec.h"
#include "ProductRows.h"
#include "app/ProductTableModel.h"
#include "app/MainWindow.h"

namespace korvel::test {
namespace {

QString Utf(const char* text)
{
    return QString::fromUtf8(text);
}

// What the window showed while the run was going on, sampled as it processed its events.
struct DuringRun {
    bool buttonLocked = false;
    bool totalCounting = false;
    bool listPartlyShown = false;
};

class CollectionRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        shop().setOptions(demo::DemoShopOptions{});
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    static demo::DemoShop& shop() { return RoutedDemoShop(); }

    void typeShop(const char* host)
    {
        auto* field = window.control<QLineEdit>(names::ShopAddress);
        field->clear();
        QTest::keyClicks(field, Utf(host));
    }

    QString text(const char* name) const
    {
        if (auto* label = window.control<QLabel>(name)) {
            return label->text();
        }
        return window.control<QPushButton>(name)->text();
    }

    void clickStart() { QTest::mouseClick(window.control<QPushButton>(names::StartButton), Qt::LeftButton); }
    // The run goes on off the window's thread; the window handles its events until it has ended
    // and its box has been answered.
    void pressStart()
    {
        clickStart();
        ASSERT_TRUE(WaitFor([this] { return !window.collecting(); }));
    }

    int shownRows() const { return window.control<QTreeView>(names::ProductList)->model()->rowCount(); }

    MainWindow window;
};

TEST_F(CollectionRun, FillsTheListAndCountsWhileTheWindowKeepsAnswering)
{
    demo::DemoShopOptions options;
    options.pages = 3;
    options.itemsPerPage = 20;
    options.delay = std::chrono::milliseconds(60);
    shop().setOptions(options);
    typeShop(kTaobaoHost);

    DuringRun seen;
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        auto* start = window.control<QPushButton>(names::StartButton);
        seen.buttonLocked |= !start->isEnabled() && start->text() == Utf("正在采集请稍等...");
        seen.totalCounting |= text(names::TotalLabel).startsWith(Utf("已经获取到宝贝："));
        seen.listPartlyShown |= shownRows() > 0 && shownRows() < 60;
    });
    sampler.start(1);
    auto box = AnswerNextBox();
    pressStart();
    sampler.stop();

    EXPECT_TRUE(seen.buttonLocked);
    EXPECT_TRUE(seen.totalCounting);
    EXPECT_TRUE(seen.listPartlyShown);
    ASSERT_TRUE(box->shown);
    EXPECT_EQ(box->title, Utf("成功采集"));
    EXPECT_EQ(box->text, Utf("本次采集到的商品共有：60件！"));
    EXPECT_EQ(box->icon, QMessageBox::NoIcon);
    EXPECT_EQ(box->buttons, 1);

    EXPECT_EQ(text(names::TotalLabel), Utf("采集商品总数：60"));
    EXPECT_EQ(text(names::PageCountLabel), Utf("商品总页数：3"));
    EXPECT_EQ(text(names::StartButton), Utf("开始采集"));
    EXPECT_TRUE(window.control(names::StartButton)->isEnabled());
    EXPECT_EQ(shownRows(), 60);

    const auto expected = demo::ExpectedItems(options, demo::Marketplace::Taobao);
    const ProductTableModel& list = window.productList();
    ASSERT_EQ(list.rows(), static_cast<int>(expected.size()));
    for (int r = 0; r < list.rows(); ++r) {
        EXPECT_EQ(list.cell(r, 0), std::to_string(r + 1));
        EXPECT_EQ(list.cell(r, 1), expected[r].productId);
        EXPECT_EQ(list.cell(r, 3), expected[r].title);
    }
}

TEST_F(CollectionRun, CollectsATmallShopThroughItsSearchPage)
{
    demo::DemoShopOptions options;
    options.pages = 2;
    shop().setOptions(options);
    typeShop(kTmallHost);
    auto box = AnswerNextBox();
    pressStart();

    const auto expected = demo::ExpectedItems(options, demo::Marketplace::Tmall);
    ASSERT_TRUE(box->shown);
    EXPECT_EQ(box->text, Utf("本次采集到的商品共有：") + QString::number(expected.size()) + Utf("件！"));
    ASSERT_EQ(window.productList().rows(), static_cast<int>(expected.size()));
    EXPECT_EQ(window.productList().cell(0, 1), expected.front().productId);
    EXPECT_EQ(window.productList().cell(static_cast<int>(expected.size()) - 1, 0),
              std::to_string(expected.size()));
}

TEST_F(CollectionRun, ExportDuringARunWritesTheRowsPresentAtThatMoment)
{
    demo::DemoShopOptions options;
    options.pages = 4;
    options.delay = std::chrono::milliseconds(60);
    shop().setOptions(options);
    typeShop(kTaobaoHost);
    const QString path = QDir::temp().filePath(QStringLiteral("korvel-during-run-%1.txt").arg(getpid()));
    QFile::remove(path);

    bool exported = false;
    QTimer exporter;
    QObject::connect(&exporter, &QTimer::timeout, [&] {
        if (!exported && window.productList().rows() > 0) {
            exported = true;
            AnswerNextSaveDialog(path);
            QTest::mouseClick(window.control<QPushButton>(names::ExportIdsButton), Qt::LeftButton);
        }
    });
    exporter.start(1);
    BoxWatch boxes;
    pressStart();
    exporter.stop();

    ASSERT_TRUE(exported);
    EXPECT_EQ(boxes.count(), 2);
    EXPECT_EQ(boxes.last().title, Utf("成功采集"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const int lines = static_cast<int>(file.readAll().count("\r\n"));
    EXPECT_GT(lines, 0);
    EXPECT_LT(lines, 80);
    QFile::remove(path);
}

// What the window shows at the moment a box opens, before the user answers it.
struct AtTheBox {
    QString box;
    QString total;
    QString start;
    bool startEnabled = false;
    int shownRows = -1;
};

TEST_F(CollectionRun, TheBoxOpensOnAWindowAlreadyBroughtUpToDate)
{
    demo::DemoShopOptions options;
    options.pages = 2;
    shop().setOptions(options);
    typeShop(kTaobaoHost);

    AtTheBox seen;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr && box->isVisible()) {
            seen = {box->text(), text(names::TotalLabel), text(names::StartButton),
                    window.control(names::StartButton)->isEnabled(), shownRows()};
            QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        }
    });
    watch.start(5);
    pressStart();
    EXPECT_EQ(seen.box, Utf("本次采集到的商品共有：40件！"));
    EXPECT_EQ(seen.total, Utf("采集商品总数：40"));
    EXPECT_EQ(seen.start, Utf("开始采集"));
    EXPECT_TRUE(seen.startEnabled);
    EXPECT_EQ(seen.shownRows, 40);

    seen = {};
    typeShop("www.example.com");
    pressStart();
    watch.stop();
    EXPECT_EQ(seen.box, Utf("系统只支持淘宝天猫店铺"));
    EXPECT_EQ(seen.start, Utf("开始采集")) << "restored before the failure box";
    EXPECT_TRUE(seen.startEnabled);
}

struct Failure {
    const char* name;
    std::function<void(demo::DemoShopOptions&)> shopFault;
    const char* host;
    const char* message;
    const char* title;
};

TEST_F(CollectionRun, EachFailureShowsItsBoxAndLeavesThePreviousRows)
{
    shop().setOptions(demo::DemoShopOptions{});
    typeShop(kTaobaoHost);
    AnswerNextBox();
    pressStart();
    const int before = window.productList().rows();
    ASSERT_GT(before, 0);
    const QString totalBefore = text(names::TotalLabel);

    const std::vector<Failure> failures = {
        {"neither family", [](demo::DemoShopOptions&) {}, "www.example.com", "系统只支持淘宝天猫店铺",
         "店铺错误"},
        {"login page instead of results",
         [](demo::DemoShopOptions& o) { o.faults[1] = demo::PageFault::LoginPage; }, kTaobaoHost,
         "未找到店铺的分页信息，请重试！\n淘宝/天猫要求登录或滑块验证，请稍后再试或放慢采集速度",
         "未取得信息"},
        {"no products on page 1", [](demo::DemoShopOptions& o) { o.faults[1] = demo::PageFault::NoItems; },
         kTaobaoHost, "没有发现商品，请重试！\n第 1 页有分页信息，但没有找到商品，页面结构可能已改变",
         "未发现商品"},
    };
    for (const Failure& f : failures) {
        SCOPED_TRACE(f.name);
        demo::DemoShopOptions options;
        f.shopFault(options);
        shop().setOptions(options);
        typeShop(f.host);
        auto box = AnswerNextBox();
        pressStart();
        ASSERT_TRUE(box->shown);
        EXPECT_EQ(box->text, Utf(f.message));
        EXPECT_EQ(box->title, Utf(f.title));
        EXPECT_EQ(box->icon, QMessageBox::NoIcon);
        EXPECT_EQ(text(names::StartButton), Utf("开始采集"));
        EXPECT_TRUE(window.control(names::StartButton)->isEnabled());
        EXPECT_EQ(window.productList().rows(), before);
        EXPECT_EQ(text(names::TotalLabel), totalBefore);
    }
}

TEST_F(CollectionRun, ClosingTheWindowDuringARunEndsItAndTheLoopWithCodeZero)
{
    demo::DemoShopOptions options;
    options.pages = 50;
    options.delay = std::chrono::milliseconds(20);
    shop().setOptions(options);
    typeShop(kTaobaoHost);

    BoxWatch boxes;
    QTimer::singleShot(0, &window, [this] { clickStart(); });
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (window.productList().rows() >= 30) {
            closer.stop();
            window.close();
        }
    });
    closer.start(1);
    QApplication::setQuitOnLastWindowClosed(true);
    const int code = QApplication::exec();
    QApplication::setQuitOnLastWindowClosed(false);

    EXPECT_EQ(code, 0);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.collecting());
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_LT(window.productList().rows(), 50 * 20);
}

// A shop that takes its time: the window goes on handling events while the request waits, and a
// close ends the request at once instead of waiting it out (30 s; the bound leaves room for a
// loaded machine).
TEST_F(CollectionRun, ClosingDuringAStalledRequestEndsTheProgramAtOnce)
{
    demo::DemoShopOptions options;
    options.delay = std::chrono::seconds(30);
    shop().setOptions(options);
    typeShop(kTaobaoHost);

    BoxWatch boxes;
    QTimer::singleShot(0, &window, [this] { clickStart(); });
    int ticks = 0;
    std::chrono::steady_clock::time_point closed;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (++ticks == 20) {
            closed = std::chrono::steady_clock::now();
            window.close();
        }
    });
    ticker.start(20);
    QApplication::setQuitOnLastWindowClosed(true);
    const int code = QApplication::exec();
    QApplication::setQuitOnLastWindowClosed(false);

    EXPECT_EQ(code, 0);
    EXPECT_GE(ticks, 20);  // the window kept its events going during the request
    EXPECT_LT(std::chrono::steady_clock::now() - closed, std::chrono::seconds(5));
    EXPECT_FALSE(window.collecting());
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(window.productList().rows(), 0);
}

TEST(SecondStart, ShowsEveryInitialTextAgain)
{
    {
        MainWindow first;
        first.control<QLineEdit>(names::ShopAddress)->setText(QStringLiteral("changed.tmall.com"));
        first.control<QLineEdit>(names::DatabasePort)->setText(QStringLiteral("3307"));
        first.control<QLabel>(names::TotalLabel)->setText(QStringLiteral("x"));
        AppendRow(first.productList(), {"1", "2", "", "", "", "", "", ""});
    }
    MainWindow second;
    EXPECT_EQ(second.control<QLineEdit>(names::ShopAddress)->text(),
              QStringLiteral("shop35897120.taobao.com"));
    EXPECT_EQ(second.control<QLineEdit>(names::DatabasePort)->text(), QStringLiteral("3306"));
    EXPECT_EQ(second.control<QLabel>(names::TotalLabel)->text(), Utf("采集商品总数："));
    EXPECT_EQ(second.productList().rows(), 0);
}

}  // namespace
}  // namespace korvel::test
