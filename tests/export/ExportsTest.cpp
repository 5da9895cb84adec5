#include "export/Exports.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "export/ExportFakes.h"
#include "support/TestGbk.h"
#include "support/LocalServer.h"

namespace korvel::test {
namespace {

namespace fs = std::filesystem;

const std::string FieldSep = "\xa1\xa1\xa1\xa1";
const std::string CsvFilter = "CSV 文件（UTF-8，可直接用 Excel 打开）(*.csv)|*.csv";

class ExportsTest : public ::testing::Test {
protected:
    void SetUp() override { dir = tools::MakeTempDir("korvel-export"); }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return dir + "/" + name; }
    static void Write(const std::string& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    void AddRow(const std::vector<std::string>& cells) { list.add(cells); }
    void AddIds(std::initializer_list<const char*> ids)
    {
        for (const char* id : ids)
            AddRow({"", id, "", "", "", "", "", ""});
    }

    std::string dir;
    ProductList list;
    ScriptedDialog dialog;
    ResultLog box;
};

TEST_F(ExportsTest, ProductIdsAreOnePerLineWithTheCountAndPath)
{
    AddIds({"101", "102", "103"});
    dialog.answers = {path("ids.txt")};
    EXPECT_TRUE(box(ExportProductIds(list, dialog)));

    EXPECT_EQ(ReadFile(path("ids.txt")), "101\r\n102\r\n103\r\n");
    ASSERT_EQ(box.seen.size(), 1u);
    EXPECT_EQ(box.seen[0].count, 3);
    EXPECT_EQ(box.seen[0].path, path("ids.txt"));
    ASSERT_EQ(dialog.opened.size(), 1u);
    EXPECT_EQ(dialog.opened[0].filter, Gbk("文本文件(*.txt)|*.txt|" + CsvFilter));
    EXPECT_EQ(dialog.opened[0].defaultExtension, "txt");
}

TEST_F(ExportsTest, EmptyListsGiveEmptyFilesAndCountZero)
{
    dialog.answers = {path("ids.txt"), path("all.txt")};
    EXPECT_TRUE(box(ExportProductIds(list, dialog)));
    EXPECT_TRUE(box(ExportAllInformation(list, dialog)));

    EXPECT_TRUE(fs::exists(path("ids.txt")));
    EXPECT_EQ(fs::file_size(path("ids.txt")), 0u);
    EXPECT_EQ(fs::file_size(path("all.txt")), 0u);
    ASSERT_EQ(box.seen.size(), 2u);
    EXPECT_EQ(box.seen[0].count, 0);
    EXPECT_EQ(box.seen[1].count, 0);
}

TEST_F(ExportsTest, AllInformationWritesEveryCellWithItsSeparator)
{
    const std::string title = Gbk("新品　　短裤");  // holds the separator itself: written unchanged
    AddRow({"1", "555", "img.example/p.jpg", title, "9.90", "19.90", "30", "4"});
    AddRow({"2", "", "", "", "", "", "", ""});
    dialog.answers = {path("all.txt")};
    EXPECT_TRUE(box(ExportAllInformation(list, dialog)));

    const std::string first = "1" + FieldSep + "555" + FieldSep + "img.example/p.jpg" + FieldSep + title +
                              FieldSep + "9.90" + FieldSep + "19.90" + FieldSep + "30" + FieldSep + "4" +
                              FieldSep + "\r\n";
    std::string second = "2" + FieldSep;
    for (int i = 0; i < 7; ++i)
        second += FieldSep;
    EXPECT_EQ(ReadFile(path("all.txt")), first + second + "\r\n");
    ASSERT_EQ(box.seen.size(), 1u);
    EXPECT_EQ(box.seen[0].count, 2);
    EXPECT_EQ(dialog.opened[0].filter, Gbk("文本文件(*.txt)|*.txt|" + CsvFilter + "|所有文件(*.*)|*.*"));
    EXPECT_EQ(dialog.opened[0].defaultExtension, ".txt");
}

// The chosen filter decides the format, whatever the name: a typed ".csv" under the text filter
// still gets the GBK text.
TEST_F(ExportsTest, TheCsvFilterGetsCsvAndEveryOtherFilterTheTextFormat)
{
    AddRow({"1", "555", "img", Gbk("标题&amp;"), " 9.90", "", "", ""});
    dialog.answers = {path("ids.CSV"), path("all.csv"), path("ids.csv"), path("all2.csv")};
    dialog.chosenIndex = 1;
    EXPECT_TRUE(box(ExportProductIds(list, dialog)));
    EXPECT_TRUE(box(ExportAllInformation(list, dialog)));
    dialog.chosenIndex = 0;
    EXPECT_TRUE(box(ExportProductIds(list, dialog)));
    dialog.chosenIndex = 2;
    EXPECT_TRUE(box(ExportAllInformation(list, dialog)));

    EXPECT_EQ(ReadFile(path("ids.CSV")), "\xEF\xBB\xBF商品ID\r\n555\r\n");
    EXPECT_EQ(
        ReadFile(path("all.csv")),
        "\xEF\xBB\xBF序号,商品ID,图片地址,商品标题,销售价,市场价,已售,评论\r\n1,555,img,标题&,9.90,,,\r\n");
    EXPECT_EQ(ReadFile(path("ids.csv")), "555\r\n");
    EXPECT_EQ(ReadFile(path("all2.csv")).substr(0, 4), "1" + FieldSep.substr(0, 3));
    ASSERT_EQ(box.seen.size(), 4u);
    EXPECT_EQ(box.seen[0].count, 1);
    EXPECT_EQ(box.seen[1].count, 1);
}

TEST_F(ExportsTest, ListExportWritesOnlyTheColumnsAskedFor)
{
    TableList table;
    table.width = 3;
    table.cells.push_back({"a", "b", "c"});
    dialog.answers = {path("list.txt")};
    EXPECT_TRUE(box(ExportListToTextFile(dialog, table, 2, "|", "\n")));
    EXPECT_EQ(ReadFile(path("list.txt")), "a|b|\n");
    EXPECT_EQ(box.seen.at(0).count, 1);
}

TEST_F(ExportsTest, ExistingFilesAreReplacedNeverAppendedTo)
{
    Write(path("ids.txt"), std::string(1000, 'x'));
    Write(path("all.txt"), std::string(1000, 'y'));
    AddIds({"9"});
    dialog.answers = {path("ids.txt"), path("all.txt")};
    EXPECT_TRUE(box(ExportProductIds(list, dialog)));
    EXPECT_TRUE(box(ExportAllInformation(list, dialog)));
    EXPECT_EQ(ReadFile(path("ids.txt")), "9\r\n");
    EXPECT_EQ(ReadFile(path("all.txt")).size(), 1 + 8 * FieldSep.size() + 2);
}

TEST_F(ExportsTest, CancellingTouchesNothing)
{
    Write(path("keep.txt"), "old");
    AddIds({"1"});
    dialog.answers = {std::nullopt, std::nullopt};
    EXPECT_FALSE(box(ExportProductIds(list, dialog)));
    EXPECT_FALSE(box(ExportAllInformation(list, dialog)));
    EXPECT_EQ(ReadFile(path("keep.txt")), "old");
    for (const ExportResult& result : box.seen) {
        EXPECT_EQ(result.outcome, ExportResult::Outcome::Cancelled);
        EXPECT_TRUE(result.path.empty());
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

// The IDs are taken when the button is pressed, in either format; the full export reads the list
// after the dialog; both messages count the rows present once the file is written.
TEST_F(ExportsTest, RowsAddedWhileTheDialogIsOpen)
{
    AddIds({"1"});
    dialog.whileOpen = [&] { AddIds({"2"}); };
    dialog.answers = {path("ids.txt"), path("all.txt"), path("ids.csv"), path("all.csv")};
    EXPECT_TRUE(box(ExportProductIds(list, dialog)));
    EXPECT_EQ(ReadFile(path("ids.txt")), "1\r\n");
    EXPECT_EQ(box.seen.back().count, 2);

    EXPECT_TRUE(box(ExportAllInformation(list, dialog)));
    EXPECT_EQ(box.seen.back().count, 3);
    EXPECT_EQ(ReadFile(path("all.txt")).size(), 3 * (1 + 8 * FieldSep.size() + 2));

    dialog.chosenIndex = 1;
    EXPECT_TRUE(box(ExportProductIds(list, dialog)));
    EXPECT_EQ(ReadFile(path("ids.csv")), "\xEF\xBB\xBF商品ID\r\n1\r\n2\r\n2\r\n");
    EXPECT_TRUE(box(ExportAllInformation(list, dialog)));
    const std::string csv = ReadFile(path("all.csv"));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 5) << "the header and the five rows";
}

}  // namespace
}  // namespace korvel::test
