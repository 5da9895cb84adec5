// The workbooks read back by a reader of the file format's own: every cell must come back as the
// kind it should be (a clean number as a number, anything else as text and never as a formula),
// with its links, its frozen title row, its filter and its chart.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "export/ChangesWorkbook.h"
#include "export/ExportFakes.h"
#include "export/ProductsWorkbook.h"
#include "export/SeriesWorkbook.h"
#include "export/WorkbookReader.h"
#include "support/LocalServer.h"
#include "support/TestGbk.h"

namespace korvel::test {
namespace {

namespace fs = std::filesystem;

const std::string LongAddress = "http://img.example.com/" + std::string(3000, 'a') + ".jpg";
const std::string LongTitle = std::string(40000, 'x');

struct WorkbookCase {
    int column;
    std::string cell;  // UTF-8 here, GBK in the list; the bytes as they are when `raw`
    std::string type;  // "n" for a number, "s" for text; "" for no cell at all
    std::string value;
    std::optional<std::string> link = std::nullopt;
    bool raw = false;
};

std::vector<WorkbookCase> WorkbookCases()
{
    return {
        // Numbers where the shop wrote clean ones, in the columns that hold numbers.
        {4, " 40.00 ", "n", "40"},
        {4, "-12.50", "n", "-12.5"},
        {0, " 7", "n", "7"},
        {5, "1.2.3", "s", "1.2.3"},
        {6, "10万+", "s", "10万+"},
        {5, "￥5", "s", "￥5"},
        {6, "+3", "s", "+3"},
        {7, "-.5", "s", "-.5"},
        {7, "1234567890123456", "s", "1234567890123456"},
        {4, "=1+2", "s", "=1+2"},
        {7, "", "", ""},
        {1, "40890292076 ", "s", "40890292076"},
        // Whatever a title begins with, it stays the shop's text.
        {3, "=HYPERLINK(\"http://x.example/?q\",\"点击\")", "s",
         "=HYPERLINK(\"http://x.example/?q\",\"点击\")"},
        {3, "@SUM(1)", "s", "@SUM(1)"},
        {3, "+1", "s", "+1"},
        {3, "-1+2", "s", "-1+2"},
        {3, "\t开头\r=1\n第二行", "s", "\t开头\r=1\n第二行"},
        {3, "_x0041_ 字面", "s", "_x0041_ 字面"},
        {3, "\xD6\xD0\x81\x20\x81", "s", "中\uFFFD \uFFFD", std::nullopt, true},
        {3, LongTitle, "s", LongTitle.substr(0, 32767)},
        // Picture addresses: a web address links, anything else is only text.
        {2, "img.example.com/a/b.jpg", "s", "img.example.com/a/b.jpg", "https://img.example.com/a/b.jpg"},
        {2, "//img.example.com/c d.jpg", "s", "//img.example.com/c d.jpg",
         "https://img.example.com/c%20d.jpg"},
        {2, "HTTP://img.example.com/图.jpg", "s", "HTTP://img.example.com/图.jpg",
         "HTTP://img.example.com/%E5%9B%BE.jpg"},
        {2, "javascript:alert(1)", "s", "javascript:alert(1)"},
        {2, "=HYPERLINK(\"http://x.example\")", "s", "=HYPERLINK(\"http://x.example\")"},
        {2, " img.example.com/e.jpg", "s", " img.example.com/e.jpg"},
        {2, LongAddress, "s", LongAddress},
    };
}

class WorkbookExportTest : public ::testing::Test {
protected:
    void SetUp() override { dir = tools::MakeTempDir("korvel-workbook"); }
    void TearDown() override { fs::remove_all(dir); }

    std::string dir;
};

TEST_F(WorkbookExportTest, EveryProductCellReadsBackAsItsKind)
{
    const std::vector<WorkbookCase> cases = WorkbookCases();
    ProductList list;
    for (const WorkbookCase& c : cases) {
        std::vector<std::string> row(8, "x");
        row[0] = "9";
        row[c.column] = c.raw ? c.cell : Gbk(c.cell);
        list.add(row);
    }
    const std::string path = dir + "/products.xlsx";
    ASSERT_TRUE(WriteProductsWorkbook(path, list));

    const auto records = ReadWorkbook(path);
    const auto cells = CellsOf(records);
    const auto links = LinksOf(records);
    EXPECT_TRUE(RecordsOf(records, "formula").empty()) << "no cell may carry a formula";
    for (size_t i = 0; i < cases.size(); ++i) {
        const WorkbookCase& c = cases[i];
        const std::string name = CellName(static_cast<int>(i) + 1, c.column);
        const auto cell = cells.find(name);
        if (c.type.empty()) {
            EXPECT_EQ(cell, cells.end()) << name;
            continue;
        }
        ASSERT_NE(cell, cells.end()) << name;
        EXPECT_EQ(cell->second.type, c.type) << name << " " << c.cell.substr(0, 40);
        if (c.type == "n")
            EXPECT_DOUBLE_EQ(std::stod(cell->second.value), std::stod(c.value)) << name;
        else
            EXPECT_EQ(cell->second.value, c.value) << name;
        const auto link = links.find(name);
        EXPECT_EQ(link == links.end() ? std::nullopt : std::optional(link->second), c.link) << name;
    }
}

TEST_F(WorkbookExportTest, TheProductTableHasItsTitlesFrozenFilteredAndFitted)
{
    ProductList list;
    list.add({"1", "101", "img.example.com/1.jpg", Gbk("中文标题中文标题中文"), "9.90", "", "3", ""});
    list.add({"2", "102", LongAddress, "ascii title", "", "", "", ""});
    const std::string path = dir + "/products.xlsx";
    ASSERT_TRUE(WriteProductsWorkbook(path, list));

    const auto records = ReadWorkbook(path);
    const auto cells = CellsOf(records);
    const std::vector<std::string> titles = {"序号",   "商品ID", "图片地址", "商品标题",
                                             "销售价", "市场价", "已售",     "评论"};
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(cells.at(CellName(0, column)).value, titles[column]);
    EXPECT_EQ(RecordsOf(records, "sheet"), std::vector<WorkbookRecord>{{"商品"}});
    EXPECT_EQ(RecordsOf(records, "pane"), (std::vector<WorkbookRecord>{{"商品", "A2", "frozen", "1"}}));
    EXPECT_EQ(RecordsOf(records, "filter"), (std::vector<WorkbookRecord>{{"商品", "A1:H3"}}));
    // Wide characters count twice; a long address is cut off at the cap.
    std::map<std::string, double> widths;
    for (const WorkbookRecord& width : RecordsOf(records, "width"))
        widths[width.at(1)] = std::stod(width.at(3));
    EXPECT_GT(widths.at("4"), widths.at("2") + 8) << "the Chinese title against the three-digit ID";
    EXPECT_LE(widths.at("3"), 62);
    EXPECT_GE(widths.at("3"), 55);
}

TEST_F(WorkbookExportTest, ChangesAreNumbersWhereTheyCountAndPercentagesShowAsSuch)
{
    const std::vector<ChangeRow> rows = {
        {"shop.taobao.com", "2", "price", "100.00", "90", "-10.00", "-10.00", "新款", 1, 2},
        {"shop.taobao.com", "2", "sold", "4", "10万+", std::nullopt, std::nullopt, "新款", 1, 2},
        {"shop.taobao.com", "3", "market_price", "8", "7", "-1", "-12.5", "=1+2", 1, 2},
        {"shop.taobao.com", "2", "title", "12", "=HYPERLINK(\"x\")", std::nullopt, std::nullopt, "@x", 1, 2},
        {"shop.taobao.com", "4", "new", std::nullopt, "\xE5\xBA", std::nullopt, std::nullopt, "\xE5\xBA", 1,
         2},
    };
    const std::string path = dir + "/changes.xlsx";
    ASSERT_TRUE(WriteChangesWorkbook(path, rows));

    const auto records = ReadWorkbook(path);
    const auto cells = CellsOf(records);
    EXPECT_TRUE(RecordsOf(records, "formula").empty());
    for (int column = 0; column < 10; ++column)
        EXPECT_EQ(cells.at(CellName(0, column)).value, ChangeColumns[column]);
    struct Expected {
        std::string cell, type, value, format = "General";
    };
    const std::vector<Expected> expected = {
        {"D2", "n", "100"},
        {"E2", "n", "90"},
        {"F2", "n", "-10"},
        {"G2", "n", "-0.1", "0.00%"},
        {"J2", "n", "2"},
        {"E3", "s", "10万+"},
        {"G4", "n", "-0.125", "0.00%"},
        {"D5", "s", "12"},
        {"E5", "s", "=HYPERLINK(\"x\")"},
        {"E6", "s", "\uFFFD"},
    };
    for (const Expected& e : expected) {
        const ReadCell& cell = cells.at(e.cell);
        EXPECT_EQ(cell.type, e.type) << e.cell;
        EXPECT_EQ(cell.format, e.format) << e.cell;
        if (e.type == "n")
            EXPECT_DOUBLE_EQ(std::stod(cell.value), std::stod(e.value)) << e.cell;
        else
            EXPECT_EQ(cell.value, e.value) << e.cell;
    }
    EXPECT_EQ(cells.count("D6"), 0u) << "a new product has no before";
    EXPECT_EQ(RecordsOf(records, "filter"), (std::vector<WorkbookRecord>{{"变化", "A1:J6"}}));
}

TEST_F(WorkbookExportTest, ASeriesCarriesALineChartOfTheSalePrice)
{
    const std::vector<SeriesRow> rows = {
        {"2024-05-01 09:30", 128.0, 199.0, "10"},
        {"2024-05-08 09:30", std::nullopt, 199.0, Gbk("1万+")},
        {"2024-05-15 09:30", 99.5, std::nullopt, "12"},
    };
    const std::string path = dir + "/series.xlsx";
    ASSERT_TRUE(WriteSeriesWorkbook(path, Gbk("=HYPERLINK(\"http://x.example\") 连衣裙"), rows));

    const auto records = ReadWorkbook(path);
    const auto cells = CellsOf(records);
    EXPECT_TRUE(RecordsOf(records, "formula").empty());
    EXPECT_EQ(cells.at("A1").value, "=HYPERLINK(\"http://x.example\") 连衣裙");
    EXPECT_EQ(cells.at("A1").type, "s");
    EXPECT_EQ(cells.at("B2").value, "销售价");
    EXPECT_EQ(cells.at("A3").value, "2024-05-01 09:30");
    EXPECT_DOUBLE_EQ(std::stod(cells.at("B5").value), 99.5);
    EXPECT_EQ(cells.count("B4"), 0u) << "a run without a price leaves a gap";
    EXPECT_EQ(cells.at("D4").type, "s");
    EXPECT_EQ(cells.at("D5").type, "n");
    const auto charts = RecordsOf(records, "chart");
    ASSERT_EQ(charts.size(), 1u);
    const WorkbookRecord& chart = charts[0];
    EXPECT_EQ(chart.at(1), "lineChart");
    EXPECT_TRUE(chart.at(2).ends_with("!$A$1")) << chart.at(2);
    EXPECT_TRUE(chart.at(3).ends_with("!$B$2")) << chart.at(3);
    EXPECT_TRUE(chart.at(4).ends_with("!$A$3:$A$5")) << chart.at(4);
    EXPECT_TRUE(chart.at(5).ends_with("!$B$3:$B$5")) << chart.at(5);
    EXPECT_NE(chart.at(5).find("价格走势"), std::string::npos) << chart.at(5);
    EXPECT_EQ(chart.at(6), "时间");
    EXPECT_EQ(chart.at(7), "销售价");

    ASSERT_TRUE(WriteSeriesWorkbook(path, "t", {}));
    EXPECT_TRUE(RecordsOf(ReadWorkbook(path), "chart").empty()) << "no chart over no rows";
}

TEST_F(WorkbookExportTest, BeyondExcelsLinksPerSheetAddressesAreText)
{
    ProductList list;
    for (int i = 0; i < 65531; ++i)
        list.add({"", "", "img.example.com/" + std::to_string(i), "", "", "", "", ""});
    const std::string path = dir + "/many.xlsx";
    ASSERT_TRUE(WriteProductsWorkbook(path, list));
    const auto records = ReadWorkbook(path);
    const auto links = LinksOf(records);
    EXPECT_EQ(links.size(), 65530u);
    EXPECT_EQ(links.count("C65531"), 1u);
    EXPECT_EQ(links.count("C65532"), 0u);
    EXPECT_EQ(CellsOf(records).at("C65532").value, "img.example.com/65530");
}

}  // namespace
}  // namespace korvel::test
