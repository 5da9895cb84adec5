// Both exports as a user runs them: press the button, name the file in the save dialog, read the
// box. The list holds bytes that are not valid GBK; the files must still carry them unchanged.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "UserActions.h"
#include "app/GbkTableModel.h"
#include "app/MainWindow.h"

namespace korvel::test {
namespace {

QString Utf(const char* text)
{
    return QString::fromUtf8(text);
}

std::string ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
}

class Exports : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        ASSERT_TRUE(dir.isValid());
    }

    void fillList()
    {
        // "\x81\x20" is not a GBK character: it must reach the file as these two bytes.
        window.productList().appendRow(
            {"1", "101", "img/a.jpg", "\xD6\xD0\x81\x20", "9.90", "19.90", "30", "4"});
        window.productList().appendRow({"2", "102", "", "", "", "", "", ""});
        window.productList().appendRow({"3", "103", "", "T", "", "", "", ""});
    }

    void press(const char* button) { QTest::mouseClick(window.control<QPushButton>(button), Qt::LeftButton); }

    MainWindow window;
    QTemporaryDir dir;
};

TEST_F(Exports, BothExportsShareOneDialogThatProposesTheLastPath)
{
    fillList();
    const QString ids = dir.filePath(QStringLiteral("ids"));
    auto dialog = AnswerNextSaveDialog(ids);
    auto box = AnswerNextBox();
    press("按钮2");

    ASSERT_TRUE(dialog->shown);
    EXPECT_EQ(dialog->nameFilters, QStringList{Utf("文本文件(*.txt)")});
    EXPECT_EQ(dialog->defaultSuffix, QStringLiteral("txt"));
    EXPECT_EQ(ReadAll(ids + ".txt"), "101\r\n102\r\n103\r\n");
    ASSERT_TRUE(box->shown);
    EXPECT_EQ(box->text, Utf("导出成功，商品ID总数为：3！"));
    EXPECT_EQ(box->title, Utf("导出成功"));
    EXPECT_EQ(box->icon, QMessageBox::NoIcon);

    const QString all = dir.filePath(QStringLiteral("all.txt"));
    dialog = AnswerNextSaveDialog(all);
    box = AnswerNextBox();
    press("按钮3");

    ASSERT_TRUE(dialog->shown);
    EXPECT_EQ(dialog->proposedName, QStringLiteral("ids.txt"));
    EXPECT_EQ(dialog->nameFilters, (QStringList{Utf("文本文件(*.txt)"), Utf("所有文件(*.*)")}));
    EXPECT_EQ(dialog->defaultSuffix, QStringLiteral("txt"));
    const std::string sep = "\xA1\xA1\xA1\xA1";
    const std::string first = "1" + sep + "101" + sep + "img/a.jpg" + sep + "\xD6\xD0\x81\x20" + sep +
                              "9.90" + sep + "19.90" + sep + "30" + sep + "4" + sep + "\r\n";
    const std::string content = ReadAll(all);
    EXPECT_EQ(content.substr(0, first.size()), first);
    EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), 3);
    ASSERT_TRUE(box->shown);
    EXPECT_EQ(box->text, Utf("导出成功，商品总数为：3！"));
    EXPECT_EQ(box->title, Utf("导出成功"));
}

TEST_F(Exports, CancellingTheDialogWritesNothingAndShowsNothing)
{
    fillList();
    const QString existing = dir.filePath(QStringLiteral("keep.txt"));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    BoxWatch boxes;
    for (const char* button : {"按钮2", "按钮3"}) {
        auto dialog = AnswerNextSaveDialog({});
        press(button);
        EXPECT_TRUE(dialog->shown) << button;
    }
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(ReadAll(existing), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST_F(Exports, TheDialogProposesOnlyThePathConfirmedLastWhicheverExportConfirmedIt)
{
    fillList();
    auto dialog = AnswerNextSaveDialog(QStringLiteral("typed-then-cancelled"), true);
    press("按钮2");
    ASSERT_TRUE(dialog->shown);
    EXPECT_EQ(dialog->proposedName, QString());

    const QString all = dir.filePath(QStringLiteral("all.txt"));
    dialog = AnswerNextSaveDialog(all);
    auto box = AnswerNextBox();
    press("按钮3");
    EXPECT_EQ(dialog->proposedName, QString()) << "a cancelled name is not proposed";
    ASSERT_TRUE(box->shown);

    dialog = AnswerNextSaveDialog(QStringLiteral("other"), true);
    press("按钮2");
    EXPECT_EQ(dialog->proposedName, QStringLiteral("all.txt"));
    EXPECT_EQ(dialog->proposedDirectory, QDir(dir.path()).absolutePath());

    const QString ids = dir.filePath(QStringLiteral("ids.txt"));
    dialog = AnswerNextSaveDialog(ids);
    box = AnswerNextBox();
    press("按钮2");
    EXPECT_EQ(dialog->proposedName, QStringLiteral("all.txt")) << "still the last confirmed path";
    EXPECT_EQ(ReadAll(ids), "101\r\n102\r\n103\r\n");

    dialog = AnswerNextSaveDialog({});
    press("按钮3");
    EXPECT_EQ(dialog->proposedName, QStringLiteral("ids.txt"));
}

TEST_F(Exports, AnEmptyListGivesAnEmptyFileAndTheCountZero)
{
    const QString path = dir.filePath(QStringLiteral("empty.txt"));
    AnswerNextSaveDialog(path);
    auto box = AnswerNextBox();
    press("按钮2");
    EXPECT_EQ(ReadAll(path), "");
    EXPECT_EQ(box->text, Utf("导出成功，商品ID总数为：0！"));
}

}  // namespace
}  // namespace korvel::test
