// The pieces every page relies on: the GBK crossing, the list model that keeps bytes and batches
// what the view hears, the message box, and the worker's call into the window.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

#include "UserActions.h"
#include "app/ControlText.h"
#include "app/GbkCodec.h"
#include "app/GbkTableModel.h"
#include "app/MainWindow.h"

namespace korvel::test {
namespace {

TEST(GbkBoundary, TypedTextReachesTheCoreAsGbkAndWhatGbkCannotHoldBecomesAQuestionMark)
{
    MainWindow window;
    window.show();
    auto* field = window.control<QLineEdit>("编辑框4");
    field->setFocus();
    TypeWithInputMethod(field, QString::fromUtf8("中€"));
    QTest::keyClicks(field, QStringLiteral("a"));
    TypeWithInputMethod(field, QString::fromUtf8("😀й"));
    EXPECT_EQ(ControlText(field),
              "\xD6\xD0\x80"
              "a?\xA7\xDB");

    SetControlText(window.control("标签19"), "\xC1\xAC\xBD\xD3");
    EXPECT_EQ(window.control<QLabel>("标签19")->text(), QString::fromUtf8("连接"));
    EXPECT_EQ(FromGbk("\x81"), QString(QChar(0xFFFD)));
}

TEST(ListModel, KeepsTheBytesItWasGivenAndShowsThemDecoded)
{
    GbkTableModel model({QStringLiteral("a"), QStringLiteral("b")});
    model.appendRow({"\xD6\xD0", "\x81\x20"});
    model.flush();
    EXPECT_EQ(model.cell(0, 1), "\x81\x20");
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QString::fromUtf8("中"));
    EXPECT_EQ(model.cell(5, 0), "");
    model.setCell(0, 9, "ignored");
    EXPECT_EQ(model.columnCount(), 2);
}

TEST(ListModel, TellsTheViewAboutNewRowsInBatchesButCountsThemAtOnce)
{
    GbkTableModel model({QStringLiteral("a")});
    int announcements = 0;
    QObject::connect(&model, &QAbstractItemModel::rowsInserted, [&] { ++announcements; });
    for (int i = 0; i < 5000; ++i) {
        model.appendRow();
        model.setCell(i, 0, std::to_string(i));
    }
    EXPECT_EQ(model.rows(), 5000);
    EXPECT_LE(model.rowCount(QModelIndex()), 1);
    ASSERT_TRUE(WaitFor([&] { return model.rowCount(QModelIndex()) == 5000; }, 2000));
    EXPECT_LE(announcements, 3);
    EXPECT_EQ(model.cell(4999, 0), "4999");
    model.clear();
    EXPECT_EQ(model.rows(), 0);
    EXPECT_EQ(model.rowCount(QModelIndex()), 0);
}

TEST(MessageBoxes, HaveNoIconOneOkAndTheDefaultTitleWhenNoneIsGiven)
{
    MainWindow window;
    auto box = AnswerNextBox();
    window.showMessage("\xB2\xE2\xCA\xD4");
    ASSERT_TRUE(box->shown);
    EXPECT_EQ(box->text, QString::fromUtf8("测试"));
    EXPECT_EQ(box->title, QString::fromUtf8("信息："));
    EXPECT_EQ(box->icon, QMessageBox::NoIcon);
    EXPECT_EQ(box->buttons, 1);
}

TEST(TestArea, ButtonWithoutCaptionChangesNothing)
{
    MainWindow window;
    window.show();
    window.tabs()->setCurrentIndex(3);
    auto snapshot = [&] {
        QStringList state;
        for (QWidget* w : window.findChildren<QWidget*>()) {
            if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"))) {
                state << w->objectName() + QLatin1Char('=') +
                             QString::fromStdString(ControlText(w)).toHtmlEscaped() +
                             (w->isVisible() ? "v" : "h") + (w->isEnabled() ? "e" : "d");
            }
        }
        return state;
    };
    const QStringList before = snapshot();
    BoxWatch boxes;
    QTest::mouseClick(window.control<QPushButton>("按钮10"), Qt::LeftButton);
    QTest::qWait(50);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(window.tabs()->currentIndex(), 3);
}

TEST(UiBridge, RunsWorkOnTheWindowThreadAndGivesUpOnceClosing)
{
    MainWindow window;
    int direct = 0;
    EXPECT_TRUE(window.ui().call([&] { ++direct; }));
    EXPECT_EQ(direct, 1);

    std::atomic<bool> ranOnUi = false;
    std::atomic<bool> result = false;
    QThread* ui = QThread::currentThread();
    std::thread worker([&] { result = window.ui().call([&] { ranOnUi = QThread::currentThread() == ui; }); });
    ASSERT_TRUE(WaitFor([&] { return ranOnUi.load(); }, 5000));
    worker.join();
    EXPECT_TRUE(result);

    window.close();
    bool ran = false;
    std::thread late([&] { result = window.ui().call([&] { ran = true; }); });
    late.join();
    EXPECT_FALSE(result);
    EXPECT_FALSE(ran);
}

TEST(UiBridge, AWorkerWaitingWhenTheWindowGoesAwayIsReleased)
{
    auto* bridge = new UiBridge;
    std::atomic<bool> result = true;
    std::atomic<bool> ran = false;
    std::thread worker([&] { result = bridge->call([&] { ran = true; }); });
    QThread::msleep(100);  // the call is queued; this thread does not process it
    delete bridge;
    worker.join();
    EXPECT_FALSE(result);
    EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace korvel::test
