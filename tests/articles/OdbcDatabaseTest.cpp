#include <gtest/gtest.h>

#include <filesystem>

#include "articles/OdbcDatabase.h"
#include "standin/StandInDatabase.h"

// The database component on the real unixODBC driver manager and the SQLite stand-in.

namespace korvel {
namespace {

using test::ArticleRow;
using test::StandInDatabase;

constexpr char kInsert[] = "insert into Artitle ([Title],[Content],[Article_Type]) values (?,?,?)";

TEST(OdbcDatabase, OpensTheAccessFileAndRunsBoundStatements)
{
    StandInDatabase file;
    OdbcDatabase database;
    ASSERT_TRUE(database.openAccess(file.databasePath()));
    EXPECT_TRUE(database.execute(kInsert, {"1", "555", "x"}));
    EXPECT_FALSE(database.execute("insert into Missing values (?)", {"1"}));
    EXPECT_EQ(file.rows(), (std::vector<ArticleRow>{{"1", "555", "x"}}));
}

TEST(OdbcDatabase, AnEmptyStatementOrNoConnectionIsAFailure)
{
    StandInDatabase file;
    OdbcDatabase database;
    EXPECT_FALSE(database.execute(kInsert, {"1", "2", "3"}));
    ASSERT_TRUE(database.openAccess(file.databasePath()));
    EXPECT_FALSE(database.execute(""));
    EXPECT_TRUE(file.rows().empty());
}

TEST(OdbcDatabase, NeverCreatesAMissingFile)
{
    // Unlinked: were the path handed on, the stand-in would create an empty database and succeed.
    StandInDatabase file(StandInDatabase::Table::Artitle, StandInDatabase::Reach::Unlinked);
    file.removeFile();
    OdbcDatabase database;
    EXPECT_FALSE(database.openAccess(file.databasePath()));
    EXPECT_FALSE(database.openAccess(file.programFolder()));
    EXPECT_FALSE(std::filesystem::exists(file.databasePath()));
    EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::current_path()));
}

TEST(OdbcDatabase, FailsWhenTheDriverCannotOpenTheFile)
{
    StandInDatabase file(StandInDatabase::Table::Artitle, StandInDatabase::Reach::Unlinked);
    OdbcDatabase database;
    EXPECT_FALSE(database.openAccess(file.databasePath()));
    EXPECT_FALSE(database.execute(kInsert, {"1", "2", "3"}));
}

TEST(OdbcDatabase, AFailedOpenKeepsTheConnectionItHad)
{
    StandInDatabase file;
    OdbcDatabase database;
    ASSERT_TRUE(database.openAccess(file.databasePath()));
    EXPECT_FALSE(database.openAccess(file.programFolder() + "/absent.mdb"));
    EXPECT_TRUE(database.execute(kInsert, {"7", "777", ""}));
    EXPECT_EQ(file.rows(), (std::vector<ArticleRow>{{"7", "777", ""}}));
}

TEST(OdbcDatabase, ASecondOpenReplacesTheFirstConnection)
{
    StandInDatabase file;
    OdbcDatabase database;
    ASSERT_TRUE(database.openAccess(file.databasePath()));
    ASSERT_TRUE(database.openAccess(file.databasePath()));
    EXPECT_TRUE(database.execute(kInsert, {"1", "2", "3"}));
    EXPECT_EQ(file.rows().size(), 1u);
}

}  // namespace
}  // namespace korvel
