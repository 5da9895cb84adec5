// The tab "店铺监控" in the real window: the shops in the history, a shop's changes with their
// Chinese names and a product's chart, read while the window goes on answering.

#include <gtest/gtest.h>

#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTabWidget>
#include <QTableWidget>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "UserActions.h"
#include "app/MainWindow.h"
#include "app/MonitorPage.h"
#include "store/Store.h"
#include "store/StorePath.h"

namespace korvel::test {
namespace {

constexpr char Host[] = "monitor.taobao.com";

Product Item(const std::string& id, const std::string& price, const std::string& title)
{
    Product p;
    p.id = id;
    p.salePrice = price;
    p.title = title;
    p.sold = "3";
    p.page = 1;
    return p;
}

CollectionRun ShopRun(std::vector<Product> products)
{
    CollectionRun run;
    run.shopHost = Host;
    run.end = RunEnd::Complete;
    for (size_t i = 0; i < products.size(); ++i)
        products[i].position = int(i) + 1;
    run.products = RunProducts(std::move(products));
    return run;
}

// The window's history (the tests' own XDG folder) holds two runs of one shop.
void RecordTwoRuns()
{
    auto history = OpenStore(DefaultStorePath(), "t");
    ASSERT_TRUE(history.ok());
    ASSERT_TRUE(history.value()->record(ShopRun({Item("1", "100", "A"), Item("2", "5", "B")})).ok());
    ASSERT_TRUE(history.value()->record(ShopRun({Item("3", "9", "C"), Item("1", "80", "A")})).ok());
}

int RowOf(QTableWidget* table, const QString& first)
{
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->item(row, 0) && table->item(row, 0)->text() == first)
            return row;
    }
    return -1;
}

QStringList Column(QTableWidget* table, int column)
{
    QStringList cells;
    for (int row = 0; row < table->rowCount(); ++row)
        cells << table->item(row, column)->text();
    return cells;
}

TEST(MonitorPage, ShopsChangesAndTheChart)
{
    RecordTwoRuns();
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.size(), QSize(999, 541));
    ASSERT_EQ(window.tabs()->count(), 6);
    EXPECT_EQ(window.tabs()->tabText(5), QStringLiteral("店铺监控"));

    window.tabs()->setCurrentIndex(5);
    auto* shops = window.control<QTableWidget>(monitor_names::Shops);
    ASSERT_TRUE(WaitFor([&] { return RowOf(shops, QString::fromLatin1(Host)) >= 0; }));
    const int row = RowOf(shops, QString::fromLatin1(Host));
    EXPECT_EQ(shops->item(row, 2)->text(), QStringLiteral("完整"));
    EXPECT_EQ(shops->item(row, 4)->text(), QStringLiteral("4"));

    shops->selectRow(row);
    auto* changes = window.control<QTableWidget>(monitor_names::Changes);
    ASSERT_TRUE(WaitFor([&] { return changes->rowCount() == 4; }));
    EXPECT_EQ(Column(changes, 0), (QStringList{QStringLiteral("新上架"), QStringLiteral("降价"),
                                               QStringLiteral("历史最低"), QStringLiteral("已下架")}));
    EXPECT_EQ(Column(changes, 4), (QStringList{QString(), QStringLiteral("-20"), QStringLiteral("-20"), QString()}));

    changes->selectRow(1);
    auto* chart = window.control<QChartView>(monitor_names::Chart);
    ASSERT_TRUE(WaitFor([&] { return chart->chart()->series().size() == 3; }));
    const auto series = chart->chart()->series();
    EXPECT_EQ(static_cast<QLineSeries*>(series[0])->points(), (QList<QPointF>{{1, 100}, {2, 80}}));
    EXPECT_EQ(static_cast<QScatterSeries*>(series[1])->points(), (QList<QPointF>{{2, 80}}));

    // 导出变化 has a dialog of its own, says what it wrote and names a path it cannot write with
    // the cause, in the words of the list's exports (export_words, whose conversion of non-ASCII
    // paths ExportTest covers: the test's key presses can only type ASCII).
    QTemporaryDir dir;
    auto* exportButton = window.control<QPushButton>(monitor_names::Export);
    const QString missing = dir.filePath(QStringLiteral("missing/changes.csv"));
    AnswerNextSaveDialog(missing);
    auto box = AnswerNextBox();
    exportButton->click();
    ASSERT_TRUE(WaitFor([&] { return box->shown; }));
    EXPECT_EQ(box->title, QStringLiteral("导出失败"));
    EXPECT_EQ(box->text, QStringLiteral("文件无法写入：") + missing + QStringLiteral("\n文件夹不存在"));
    const QString written = dir.filePath(QStringLiteral("changes.csv"));
    AnswerNextSaveDialog(written);
    box = AnswerNextBox();
    exportButton->click();
    ASSERT_TRUE(WaitFor([&] { return box->shown; }));
    EXPECT_EQ(box->text, QStringLiteral("导出成功，变化总数为：4！"));
    EXPECT_TRUE(QFile::exists(written));
    auto again = AnswerNextSaveDialog({});
    exportButton->click();
    ASSERT_TRUE(WaitFor([&] { return again->shown; }));
    EXPECT_EQ(again->proposedName, QStringLiteral("changes.csv"));
}

// A price that is not a number on one side went neither up nor down.
TEST(MonitorPage, PriceCaptionsFollowTheDifference)
{
    Change change;
    change.kind = ChangeKind::Price;
    EXPECT_EQ(ChangeKindCaption(change), QStringLiteral("价格变化"));
    change.delta = "-1.50";
    EXPECT_EQ(ChangeKindCaption(change), QStringLiteral("降价"));
    change.delta = "2";
    EXPECT_EQ(ChangeKindCaption(change), QStringLiteral("涨价"));
}

}  // namespace
}  // namespace korvel::test
