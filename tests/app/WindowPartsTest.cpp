// The pieces every page relies on: the GBK crossing, the list model that keeps bytes and batches
// what the view hears, the message box and Qt's own texts, and the names the desktop knows the
// window by.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "UserActions.h"
#include "app/ApplicationSetup.h"
#include "app/ControlNames.h"
#include "app/ControlText.h"
#include "app/GbkCodec.h"
#include "app/GbkTableModel.h"
#include "app/MainWindow.h"
#include "app/SaveDialogComponent.h"

namespace korvel::test {
namespace {

TEST(GbkBoundary, TypedTextReachesTheCoreAsGbkAndWhatGbkCannotHoldBecomesAQuestionMark)
{
    MainWindow window;
    window.show();
    auto* field = window.control<QLineEdit>(names::BackendUser);
    field->setFocus();
    TypeWithInputMethod(field, QString::fromUtf8("中€"));
    QTest::keyClicks(field, QStringLiteral("a"));
    TypeWithInputMethod(field, QString::fromUtf8("😀й"));
    EXPECT_EQ(ControlText(field),
              "\xD6\xD0\x80"
              "a?\xA7\xDB");

    SetControlText(window.control(names::MemberStatusLabel), "\xC1\xAC\xBD\xD3");
    EXPECT_EQ(window.control<QLabel>(names::MemberStatusLabel)->text(), QString::fromUtf8("连接"));
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
    EXPECT_EQ(model.columns(), 2);
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

// Qt's own texts in the window's dialogs come from its Simplified Chinese translation, whatever the
// locale (the test program sets itself up as the window's program does).
TEST(QtTexts, TheSaveDialogAndTheMessageBoxSpeakChinese)
{
    MainWindow window;
    bool looked = false;
    LookAtNextSaveDialog([&looked](QFileDialog* dialog) {
        looked = true;
        auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        ASSERT_NE(buttons, nullptr);
        const auto shown = [](const QString& text) { return QString(text).remove(QStringLiteral("(&S)")); };
        EXPECT_EQ(shown(buttons->button(QDialogButtonBox::Save)->text()), QString::fromUtf8("保存"));
        EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("取消"));
        EXPECT_EQ(dialog->findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(),
                  QString::fromUtf8("查找范围："));
        EXPECT_TRUE(dialog->findChild<QLabel*>(QStringLiteral("fileNameLabel"))
                        ->text()
                        .startsWith(QString::fromUtf8("文件名")));
        // The tests type into the dialog's one line edit, the file name field.
        EXPECT_EQ(dialog->findChildren<QLineEdit*>().size(), 1);
    });
    EXPECT_FALSE(window.saveDialog().show());
    EXPECT_TRUE(looked);

    QMessageBox box(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Ok);
    EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QString::fromUtf8("确定"));
}

// The desktop matches the window to its entry by the window class (X11) or the application id
// (Wayland): both must name the installed entry, whose icon is the window's.
TEST(DesktopEntry, NamesTheWindowsClassAndApplicationId)
{
    const QString id = QGuiApplication::desktopFileName();
    QFile entry(QStringLiteral(KORVEL_SOURCE_DIR "/data/") + id + QStringLiteral(".desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly)) << qPrintable(entry.fileName());
    const QStringList lines = QString::fromUtf8(entry.readAll()).split(QLatin1Char('\n'));
    EXPECT_TRUE(lines.contains(QStringLiteral("StartupWMClass=") + QString::fromLatin1(ApplicationName)));
    EXPECT_EQ(QApplication::applicationName(), QString::fromLatin1(ApplicationName));
    EXPECT_TRUE(lines.contains(QStringLiteral("Icon=") + id));
    EXPECT_TRUE(lines.contains(QStringLiteral("Exec=korvel")));
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
                             QLatin1Char(w->isVisible() ? 'v' : 'h') +
                             QLatin1Char(w->isEnabled() ? 'e' : 'd');
            }
        }
        return state;
    };
    const QStringList before = snapshot();
    BoxWatch boxes;
    QTest::mouseClick(window.control<QPushButton>(names::TestButton), Qt::LeftButton);
    QTest::qWait(50);
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(window.tabs()->currentIndex(), 3);
}

}  // namespace
}  // namespace korvel::test
