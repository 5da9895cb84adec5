// The CSV exports read back with an RFC 4180 reader: every field must come back as the list holds
// it, tidied only where a spreadsheet needs it.

#include "export/CsvExport.h"

#include <gtest/gtest.h>

#include "export/CsvReader.h"
#include "export/ProductColumns.h"
#include "export/ExportFakes.h"
#include "support/TestGbk.h"

namespace korvel::test {
namespace {

const std::string Bom = "\xEF\xBB\xBF";
const std::vector<std::string> Header = {"序号",   "商品ID", "图片地址", "商品标题",
                                         "销售价", "市场价", "已售",     "评论"};

// The rows of a CSV file after its byte-order mark and header, which must be the product list's.
CsvTable Rows(const std::string& csv, const std::vector<std::string>& header = Header)
{
    EXPECT_EQ(csv.substr(0, 3), Bom);
    const auto table = ReadCsv(csv.substr(std::min<size_t>(3, csv.size())));
    EXPECT_TRUE(table.has_value()) << "not RFC 4180: " << csv;
    if (!table || table->empty())
        return {};
    EXPECT_EQ(table->front(), header);
    return CsvTable(table->begin() + 1, table->end());
}

struct CellCase {
    int column;
    std::string cell;  // UTF-8 here, GBK in the list
    std::string field;
};

// Cells that are not GBK text (invalid bytes) are written as raw bytes, not through Gbk().
std::vector<CellCase> CellCases()
{
    return {
        {3, "新品, 短裤", "新品, 短裤"},
        {3, "他说\"好\"", "他说\"好\""},
        {3, "第一行\r\n第二行\n", "第一行\r\n第二行\n"},
        {3, "A&amp;B &quot;x&quot; &#39;y&#39; &lt;b&gt; &#20013;&#x6587;&#X4E2D;",
         "A&B \"x\" 'y' <b> 中文中"},
        {3, "&amp;lt; once only", "&lt; once only"},
        {3, "&nbsp;", "\u00A0"},
        {3, "&bogus; &#0; &#xD800; &#1114112; &#39 &#; &#x; & alone &",
         "&bogus; &#0; &#xD800; &#1114112; &#39 &#; &#x; & alone &"},
        {3, "  留白的标题  ", "  留白的标题  "},
        // A spreadsheet would run these as formulas: one apostrophe keeps each a text, whether the
        // page wrote the first character directly or as a character reference.
        {3, "=HYPERLINK(\"http://x.example/?q\",\"点击\")", "'=HYPERLINK(\"http://x.example/?q\",\"点击\")"},
        {3, "&#61;HYPERLINK(1)", "'=HYPERLINK(1)"},
        {3, "+SUM(1,2)", "'+SUM(1,2)"},
        {3, "&#x2B;SUM(1)", "'+SUM(1)"},
        {3, "-2+3 减价", "'-2+3 减价"},
        {3, "&#45;A1", "'-A1"},
        {3, "@SUM(1)", "'@SUM(1)"},
        {3, "&#64;x", "'@x"},
        {3, "\t开头", "'\t开头"},
        {3, "&#9;x", "'\tx"},
        {3, "\r=1", "'\r=1"},
        {3, "&#13;x", "'\rx"},
        // A spreadsheet that trims spaces on import would still see the formula behind them.
        {3, "  =1+9", "'  =1+9"},
        {3, "&nbsp;+A1", "'\u00A0+A1"},
        {3, "\u3000\u3000@SUM(1)", "'\u3000\u3000@SUM(1)"},
        {3, " \n-A1", "' \n-A1"},
        {3, "  -5", "  -5"},
        {3, "\u3000＝1+9 ＋1 －1 ＠x", "\u3000＝1+9 ＋1 －1 ＠x"},
        {3, "a=b+c @ -1", "a=b+c @ -1"},
        {3, "-5", "-5"},
        {2, "=img", "'=img"},
        {4, " -12.50 ", "-12.50"},
        {5, "+3", "+3"},
        {6, "-2+3", "'-2+3"},
        {6, "-", "'-"},
        {7, "-.5", "-.5"},
        {4, " 40.00 ", "40.00"},
        {5, "　19.90　", "19.90"},
        {6, "\t30\r\n", "30"},
        {7, "", ""},
        {0, " 7", "7"},
        {1, "40890292076 ", "40890292076"},
        {2, " img.example/a.jpg?x=1&amp;y=2", " img.example/a.jpg?x=1&amp;y=2"},
    };
}

TEST(CsvExport, EveryCellReadsBackAsTheSpreadsheetShouldShowIt)
{
    const std::vector<CellCase> cases = CellCases();
    ProductList list;
    for (const CellCase& c : cases) {
        std::vector<std::string> row(8, "x");
        row[0] = "9";
        row[c.column] = Gbk(c.cell);
        list.add(row);
    }
    const CsvTable rows = Rows(ProductsCsv(list));
    ASSERT_EQ(rows.size(), cases.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const CellCase& c = cases[i];
        ASSERT_EQ(rows[i].size(), 8u) << c.cell;
        EXPECT_EQ(rows[i][c.column], c.field) << "row " << i;
        EXPECT_EQ(rows[i][c.column == 0 ? 1 : 0], c.column == 0 ? "x" : "9");
    }
}

TEST(CsvExport, BytesThatAreNotGbkBecomeReplacementCharacters)
{
    ProductList list;
    list.add({"1", "2", "", "\xD6\xD0\x81\x20\x81", "", "", "", ""});
    const CsvTable rows = Rows(ProductsCsv(list));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][3], "中\uFFFD \uFFFD");
}

TEST(CsvExport, FileLayoutIsBomHeaderAndCrLfRecords)
{
    ProductList list;
    list.add({"1", "101", "a", "t", "1", "2", "3", "4"});
    EXPECT_EQ(ProductsCsv(list),
              Bom + "序号,商品ID,图片地址,商品标题,销售价,市场价,已售,评论\r\n1,101,a,t,1,2,3,4\r\n");
    list.add({"2", " 102 ", "", "", "", "", "", ""});
    EXPECT_EQ(ProductIdsCsv(ProductIds(list)), Bom + "商品ID\r\n101\r\n102\r\n");
    list.products.clear();
    EXPECT_EQ(ProductsCsv(list), Bom + "序号,商品ID,图片地址,商品标题,销售价,市场价,已售,评论\r\n");
    EXPECT_EQ(ProductIdsCsv(ProductIds(list)), Bom + "商品ID\r\n");
}

}  // namespace
}  // namespace korvel::test
