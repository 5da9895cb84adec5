// The article import as the hidden button 按钮11 starts it, on the real driver manager with the
// SQLite stand-in for Access. The database lies in the program's own folder, which for these
// tests is the folder of the test program: one test only, so parallel runs never share the file.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "UserActions.h"
#include "app/ControlNames.h"
#include "ProductRows.h"
#include "app/ProductTableModel.h"
#include "app/MainWindow.h"
#include "standin/StandInDatabase.h"

namespace korvel::test {
namespace {

QString Utf(const char* text)
{
    return QString::fromUtf8(text);
}

TEST(ArticleImport, TheHiddenButtonStoresEveryRowAndAFailedOpenKeepsTheWindow)
{
    StandInDatabase file(StandInDatabase::Table::Artitle, StandInDatabase::Reach::Linked,
                         QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* button = window.control<QPushButton>(names::ArticleImportButton);
    auto* type = window.control<QLineEdit>(names::ArticleType);
    auto* label = window.control<QLabel>(names::ArticleLabel);
    ASSERT_TRUE(button && type && label);
    ASSERT_NE(window.findChild<QObject*>(Utf("外部数据库1")), nullptr);
    EXPECT_FALSE(button->isVisible());
    EXPECT_FALSE(type->isVisible());
    EXPECT_EQ(label->text(), Utf("功能完善中..."));

    AppendRow(window.productList(), {"1", "555", "img/a.jpg", "T", "9.90", "19.90", "3", "1"});
    AppendRow(window.productList(), {"2", "556'", "", "", "", "", "", ""});
    type->setText(Utf("文章"));  // hidden to the user, but read as it is
    {
        BoxWatch boxes;
        button->click();
        EXPECT_EQ(boxes.count(), 0);
    }
    const std::string article = "\xce\xc4\xd5\xc2";  // 文章 in GBK
    EXPECT_EQ(file.rows(), (std::vector<ArticleRow>{{"1", "555", article}, {"2", "556'", article}}));
    EXPECT_EQ(label->text(), Utf("已经入库数：2"));

    file.removeFile();
    auto box = AnswerNextBox();
    button->click();
    ASSERT_TRUE(box->shown);
    EXPECT_EQ(box->text, Utf("数据库打开失败！"));
    EXPECT_EQ(box->title, Utf("信息："));
    EXPECT_EQ(box->icon, QMessageBox::NoIcon);
    EXPECT_EQ(box->buttons, 1);
    // The process goes on: the window stays open with its list and its last count.
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.productList().rows(), 2);
    EXPECT_EQ(label->text(), Utf("已经入库数：2"));
}

}  // namespace
}  // namespace korvel::test
