// Both exports as a user runs them: press the button, name the file in the save dialog, read the
// box. The list holds bytes that are not valid GBK; the files must still carry them unchanged.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "UserActions.h"
#include "app/ControlNames.h"
#include "ProductRows.h"
#include "app/ProductTableModel.h"
#include "app/MainWindow.h"
#include "export/CsvReader.h"
#include "support/TestGbk.h"
#include "words/ExportTexts.h"

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

const QString TextFilter = Utf("文本文件(*.txt)");
const QString CsvFilter = Utf("CSV 文件（UTF-8，可直接用 Excel 打开）(*.csv)");

// In the next save dialog, picks the filter `steps` below the first with the arrow keys, as a user
// does, then names the file and saves (AnswerNextSaveDialog).
void ChooseFilterThenSave(int steps, const QString& name)
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, steps, name] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* types =
            dialog != nullptr ? dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")) : nullptr;
        if (types == nullptr || !dialog->isVisible()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        for (int i = 0; i < steps; ++i) {
            QTest::keyClick(types, Qt::Key_Down);
        }
        AnswerNextSaveDialog(name);
    });
    timer->start(10);
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
        AppendRow(window.productList(), {"1", "101", "img/a.jpg", "\xD6\xD0\x81\x20", "9.90", "19.90", "30", "4"});
        AppendRow(window.productList(), {"2", "102", "", "", "", "", "", ""});
        AppendRow(window.productList(), {"3", "103", "", "T", "", "", "", ""});
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
    press(names::ExportIdsButton);

    ASSERT_TRUE(dialog->shown);
    EXPECT_EQ(dialog->nameFilters, (QStringList{TextFilter, CsvFilter}));
    EXPECT_EQ(dialog->defaultSuffix, QStringLiteral("txt"));
    EXPECT_EQ(ReadAll(ids + QStringLiteral(".txt")), "101\r\n102\r\n103\r\n");
    ASSERT_TRUE(box->shown);
    EXPECT_EQ(box->text, Utf("导出成功，商品ID总数为：3！"));
    EXPECT_EQ(box->title, Utf("导出成功"));
    EXPECT_EQ(box->icon, QMessageBox::NoIcon);

    const QString all = dir.filePath(QStringLiteral("all.txt"));
    dialog = AnswerNextSaveDialog(all);
    box = AnswerNextBox();
    press(names::ExportAllButton);

    ASSERT_TRUE(dialog->shown);
    EXPECT_EQ(dialog->proposedName, QStringLiteral("ids.txt"));
    EXPECT_EQ(dialog->nameFilters, (QStringList{TextFilter, CsvFilter, Utf("所有文件(*.*)")}));
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
    for (const char* button : {names::ExportIdsButton, names::ExportAllButton}) {
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
    press(names::ExportIdsButton);
    ASSERT_TRUE(dialog->shown);
    EXPECT_EQ(dialog->proposedName, QString());

    const QString all = dir.filePath(QStringLiteral("all.txt"));
    dialog = AnswerNextSaveDialog(all);
    auto box = AnswerNextBox();
    press(names::ExportAllButton);
    EXPECT_EQ(dialog->proposedName, QString()) << "a cancelled name is not proposed";
    ASSERT_TRUE(box->shown);

    dialog = AnswerNextSaveDialog(QStringLiteral("other"), true);
    press(names::ExportIdsButton);
    EXPECT_EQ(dialog->proposedName, QStringLiteral("all.txt"));
    EXPECT_EQ(dialog->proposedDirectory, QDir(dir.path()).absolutePath());

    const QString ids = dir.filePath(QStringLiteral("ids.txt"));
    dialog = AnswerNextSaveDialog(ids);
    box = AnswerNextBox();
    press(names::ExportIdsButton);
    EXPECT_EQ(dialog->proposedName, QStringLiteral("all.txt")) << "still the last confirmed path";
    EXPECT_EQ(ReadAll(ids), "101\r\n102\r\n103\r\n");

    dialog = AnswerNextSaveDialog({});
    press(names::ExportAllButton);
    EXPECT_EQ(dialog->proposedName, QStringLiteral("ids.txt"));
}

// CSV by the filter alone (a name without an extension gets .csv); read back with an RFC 4180
// reader. The bytes that are not GBK reach the CSV as replacement characters. A typed .csv name
// under the text filter gets the text.
TEST_F(Exports, TheCsvFilterWritesCsv)
{
    fillList();
    // A row a spreadsheet would run as formulas: every such cell keeps one apostrophe in front.
    AppendRow(window.productList(), {"4", "104", "=img", "=HYPERLINK(\"x\")", "-5", "+SUM(1)", "-2+3", "@1"});
    auto box = AnswerNextBox();
    ChooseFilterThenSave(1, dir.filePath(QStringLiteral("ids")));
    press(names::ExportIdsButton);
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("ids.csv"))),
              "\xEF\xBB\xBF商品ID\r\n101\r\n102\r\n103\r\n104\r\n");
    EXPECT_EQ(box->text, Utf("导出成功，商品ID总数为：4！"));

    box = AnswerNextBox();
    ChooseFilterThenSave(1, dir.filePath(QStringLiteral("all.CSV")));
    press(names::ExportAllButton);
    const std::string csv = ReadAll(dir.filePath(QStringLiteral("all.CSV")));
    ASSERT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    const auto table = ReadCsv(csv.substr(3));
    ASSERT_TRUE(table.has_value()) << csv;
    ASSERT_EQ(table->size(), 5u);
    EXPECT_EQ(table->at(0), (std::vector<std::string>{"序号", "商品ID", "图片地址", "商品标题", "销售价",
                                                      "市场价", "已售", "评论"}));
    EXPECT_EQ(table->at(1),
              (std::vector<std::string>{"1", "101", "img/a.jpg", "中\uFFFD ", "9.90", "19.90", "30", "4"}));
    EXPECT_EQ(table->at(3)[3], "T");
    EXPECT_EQ(table->at(4), (std::vector<std::string>{"4", "104", "'=img", "'=HYPERLINK(\"x\")", "-5", "'+SUM(1)",
                                                      "'-2+3", "'@1"}));
    EXPECT_EQ(box->text, Utf("导出成功，商品总数为：4！"));

    // 所有文件(*.*): a name without an extension gets the export's own .txt, byte-exact text.
    ChooseFilterThenSave(2, dir.filePath(QStringLiteral("all-any")));
    AnswerNextBox();
    press(names::ExportAllButton);
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("all-any.txt"))).substr(0, 5), "1\xA1\xA1\xA1\xA1");

    AnswerNextBox();
    auto dialog = AnswerNextSaveDialog(dir.filePath(QStringLiteral("typed.csv")));
    press(names::ExportAllButton);
    EXPECT_EQ(dialog->defaultSuffix, QStringLiteral("txt")) << "the text filter again at the next opening";
    EXPECT_EQ(ReadAll(dir.filePath(QStringLiteral("typed.csv"))).substr(0, 5), "1\xA1\xA1\xA1\xA1");
}

TEST_F(Exports, AnEmptyListGivesAnEmptyFileAndTheCountZero)
{
    const QString path = dir.filePath(QStringLiteral("empty.txt"));
    AnswerNextSaveDialog(path);
    auto box = AnswerNextBox();
    press(names::ExportIdsButton);
    EXPECT_EQ(ReadAll(path), "");
    EXPECT_EQ(box->text, Utf("导出成功，商品ID总数为：0！"));
}

// The words both views show for an export's result; the path is the file system's UTF-8, shown
// in GBK with one "?" for each character GBK lacks (a Korean syllable, an emoji, a stray byte).
TEST(ExportWords, NameTheCountOrThePathInGbk)
{
    EXPECT_EQ(export_words::Done(export_words::IdsDone, 3), Gbk("导出成功，商品ID总数为：3！"));
    EXPECT_EQ(export_words::Done(export_words::AllDone, 0), Gbk("导出成功，商品总数为：0！"));
    const struct {
        std::string path;
        std::string shown;
    } paths[] = {
        {"/tmp/a/ids.txt", Gbk("文件无法写入：/tmp/a/ids.txt")},
        {"/tmp/缺少的文件夹/商品.txt", Gbk("文件无法写入：/tmp/缺少的文件夹/商品.txt")},
        {"/tmp/缺少/한😀\xff.txt", Gbk("文件无法写入：/tmp/缺少/") + "???.txt"},
    };
    for (const auto& [path, shown] : paths)
        EXPECT_EQ(export_words::CannotWrite(path), shown) << path;
}

}  // namespace
}  // namespace korvel::test
