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

// 已经入库数：
const std::string kStored = "\xd2\xd1\xbe\xad\xc8\xeb\xbf\xe2\xca\xfd\xa3\xba";
// 数据库打开失败！ with the title 信息：
const std::pair<std::string, std::string> kOpenFailed{
    "\xca\xfd\xbe\xdd\xbf\xe2\xb4\xf2\xbf\xaa\xca\xa7\xb0\xdc\xa3\xa1", "\xd0\xc5\xcf\xa2\xa3\xba"};

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
    ImportArticles(screen, database_);

    EXPECT_EQ(file.rows(), (std::vector<ArticleRow>{{"1", "555", ""}, {"2", "556", ""}}));
    EXPECT_EQ(file.countWhere("Article_Type = ''"), 2);
    EXPECT_EQ(screen.captions, (std::vector<std::string>{kStored + "1", kStored + "2"}));
    EXPECT_TRUE(screen.messages.empty());
}

TEST_F(ImportArticlesTest, ImportingTwiceInsertsEveryRowTwice)
{
    StandInDatabase file;
    FakeArticleScreen screen(file.programFolder());
    TwoProducts(screen);
    ImportArticles(screen, database_);
    ImportArticles(screen, database_);

    EXPECT_EQ(file.rows(), (std::vector<ArticleRow>{
                               {"1", "555", ""}, {"2", "556", ""}, {"1", "555", ""}, {"2", "556", ""}}));
    EXPECT_EQ(screen.captions,
              (std::vector<std::string>{kStored + "1", kStored + "2", kStored + "1", kStored + "2"}));
}

TEST_F(ImportArticlesTest, AMissingFileIsReportedAndTheListStays)
{
    StandInDatabase file;
    file.removeFile();
    FakeArticleScreen screen(file.programFolder());
    TwoProducts(screen);
    const auto listBefore = screen.rows;
    ImportArticles(screen, database_);

    EXPECT_EQ(screen.messages, (std::vector<std::pair<std::string, std::string>>{kOpenFailed}));
    EXPECT_TRUE(screen.captions.empty());
    EXPECT_EQ(screen.rows, listBefore);
    EXPECT_FALSE(std::filesystem::exists(file.databasePath()));
}

TEST_F(ImportArticlesTest, ADatabaseTheDriverCannotOpenIsReported)
{
    StandInDatabase file(StandInDatabase::Table::Artitle, StandInDatabase::Reach::Unlinked);
    FakeArticleScreen screen(file.programFolder());
    TwoProducts(screen);
    ImportArticles(screen, database_);

    EXPECT_EQ(screen.messages, (std::vector<std::pair<std::string, std::string>>{kOpenFailed}));
    EXPECT_TRUE(screen.captions.empty());
    EXPECT_TRUE(file.rows().empty());
}

TEST_F(ImportArticlesTest, FailingStatementsStillCountEveryRowSilently)
{
    StandInDatabase file(StandInDatabase::Table::None);
    FakeArticleScreen screen(file.programFolder());
    TwoProducts(screen);
    screen.addProduct("3", "557");
    ImportArticles(screen, database_);

    EXPECT_EQ(screen.captions, (std::vector<std::string>{kStored + "1", kStored + "2", kStored + "3"}));
    EXPECT_TRUE(screen.messages.empty());
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
    ImportArticles(screen, database_);

    EXPECT_EQ(file.rows(), (std::vector<ArticleRow>{{number, id, screen.type}}));
    EXPECT_EQ(screen.captions, (std::vector<std::string>{kStored + "1"}));
}

TEST_F(ImportArticlesTest, AnEmptyListInsertsNothingAndLeavesTheLabel)
{
    StandInDatabase file;
    FakeArticleScreen screen(file.programFolder());
    ImportArticles(screen, database_);

    EXPECT_TRUE(file.rows().empty());
    EXPECT_TRUE(screen.captions.empty());
    EXPECT_TRUE(screen.messages.empty());
}

}  // namespace
}  // namespace korvel
