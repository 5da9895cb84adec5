#include <gtest/gtest.h>

#include <filesystem>

#include "FakeArticleScreen.h"
#include "articles/ImportArticles.h"
#include "standin/StandInDatabase.h"

// The import from product list to Artitle, on the real driver manager and the SQLite stand-in.

namespace korvel {
namespace {

using test::ArticleRow;
using test::FakeArticleScreen;
using test::StandInDatabase;

class ImportArticlesTest : public testing::Test {
protected:
    void TwoProducts(FakeArticleScreen& screen)
    {
        screen.addProduct("1", "555");
        screen.addProduct("2", "556");
    }
    OdbcDatabase database_;  // 外部数据库1: kept across imports, as the window keeps it
};

TEST_F(ImportArticlesTest, InsertsOneRowPerProductAndCountsThem)
{
    StandInDatabase file;
    FakeArticleScreen screen(file.programFolder());
    TwoProducts(screen);
    EXPECT_EQ(ImportArticles(screen, database_), ArticleImportEnd::Done);

    EXPECT_EQ(file.rows(), (std::vector<ArticleRow>{{"1", "555", ""}, {"2", "556", ""}}));
    EXPECT_EQ(file.countWhere("Article_Type = ''"), 2);
    EXPECT_EQ(screen.counts, (std::vector<int>{1, 2}));
}

TEST_F(ImportArticlesTest, ImportingTwiceInsertsEveryRowTwice)
{
    StandInDatabase file;
    FakeArticleScreen screen(file.programFolder());
    TwoProducts(screen);
    EXPECT_EQ(ImportArticles(screen, database_), ArticleImportEnd::Done);
    EXPECT_EQ(ImportArticles(screen, database_), ArticleImportEnd::Done);

    EXPECT_EQ(file.rows(), (std::vector<ArticleRow>{
                               {"1", "555", ""}, {"2", "556", ""}, {"1", "555", ""}, {"2", "556", ""}}));
    EXPECT_EQ(screen.counts,
              (std::vector<int>{1, 2, 1, 2}));
}

TEST_F(ImportArticlesTest, AMissingFileIsReportedAndTheListStays)
{
    StandInDatabase file;
    file.removeFile();
    FakeArticleScreen screen(file.programFolder());
    TwoProducts(screen);
    const auto listBefore = screen.rows;
    EXPECT_EQ(ImportArticles(screen, database_), ArticleImportEnd::OpenFailed);

    EXPECT_TRUE(screen.counts.empty());
    EXPECT_EQ(screen.rows, listBefore);
    EXPECT_FALSE(std::filesystem::exists(file.databasePath()));
}

TEST_F(ImportArticlesTest, ADatabaseTheDriverCannotOpenIsReported)
{
    StandInDatabase file(StandInDatabase::Table::Artitle, StandInDatabase::Reach::Unlinked);
    FakeArticleScreen screen(file.programFolder());
    TwoProducts(screen);
    EXPECT_EQ(ImportArticles(screen, database_), ArticleImportEnd::OpenFailed);

    EXPECT_TRUE(screen.counts.empty());
    EXPECT_TRUE(file.rows().empty());
}

TEST_F(ImportArticlesTest, FailingStatementsStillCountEveryRowSilently)
{
    StandInDatabase file(StandInDatabase::Table::None);
    FakeArticleScreen screen(file.programFolder());
    TwoProducts(screen);
    screen.addProduct("3", "557");
    EXPECT_EQ(ImportArticles(screen, database_), ArticleImportEnd::Done);

    EXPECT_EQ(screen.counts, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(file.hasTable());
}

TEST_F(ImportArticlesTest, ValuesAreStoredByteForByteAndCannotAlterTheStatement)
{
    StandInDatabase file;
    FakeArticleScreen screen(file.programFolder());
    // 商品 in GBK, an apostrophe, and 乗 whose second byte is a backslash.
    const std::string number = "1'\xc9\xcc\xc6\xb7";
    const std::string id = "555'); drop table Artitle; --\x81\x5c?";
    screen.addProduct(number, id);
    screen.type = "\xce\xc4\xd5\xc2\xb7\xd6\xc0\xe0";  // 文章分类
    EXPECT_EQ(ImportArticles(screen, database_), ArticleImportEnd::Done);

    EXPECT_EQ(file.rows(), (std::vector<ArticleRow>{{number, id, screen.type}}));
    EXPECT_EQ(screen.counts, (std::vector<int>{1}));
}

TEST_F(ImportArticlesTest, AnEmptyListInsertsNothingAndLeavesTheLabel)
{
    StandInDatabase file;
    FakeArticleScreen screen(file.programFolder());
    EXPECT_EQ(ImportArticles(screen, database_), ArticleImportEnd::Done);

    EXPECT_TRUE(file.rows().empty());
    EXPECT_TRUE(screen.counts.empty());
}

}  // namespace
}  // namespace korvel
