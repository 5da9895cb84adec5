#include "standin/StandInDatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "support/ThrowawayTls.h"

namespace korvel::test {

namespace fs = std::filesystem;

namespace {

using Sqlite = std::unique_ptr<sqlite3, decltype(&sqlite3_close)>;

Sqlite OpenFile(const std::string& path, int flags)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    return Sqlite(db, &sqlite3_close);
}

std::string ColumnBytes(sqlite3_stmt* statement, int column)
{
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
    return bytes ? std::string(bytes, sqlite3_column_bytes(statement, column)) : std::string();
}

void CreateDatabase(const std::string& path, StandInDatabase::Table table)
{
    const Sqlite db = OpenFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    const char* sql = table == StandInDatabase::Table::Artitle
                          ? "create table Artitle (ID integer primary key autoincrement, Title text, "
                            "Content text, Article_Type text)"
                          : "create table Other (ID integer primary key)";
    ASSERT_EQ(sqlite3_exec(db.get(), sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db.get());
}

// A private folder in `parent`; a hard link cannot leave the file system, so the links to a file
// in a given program folder live beside it.
std::string MakePrivateFolder(const std::string& parent)
{
    std::string name = parent + "/.korvel-articles-XXXXXX";
    return mkdtemp(name.data()) ? name : std::string();
}

}  // namespace

StandInDatabase::StandInDatabase(Table table, Reach reach, const std::string& programFolder)
    : root_(programFolder.empty() ? tools::MakeTempDir("korvel-articles") : MakePrivateFolder(programFolder)),
      programFolder_(programFolder.empty() ? root_ + "/program" : programFolder),
      previousWorkingFolder_(fs::current_path())
{
    UseStandInAccessDriver();
    fs::create_directories(programFolder_);
    fs::remove(databasePath());
    CreateDatabase(databasePath(), table);
    const std::string work = root_ + "/work";
    fs::create_directories(work);
    fs::current_path(work);
    if (reach == Reach::Linked) {
        const fs::path link = work + "/" + ExpectedDriverText(programFolder_, databasePath());
        // SQLite opens no file whose full name, with room for "-journal", passes its 512 bytes.
        EXPECT_LE(link.native().size() + 8, 512u)
            << "the stand-in cannot reach a database this deep; use a shorter folder: " << programFolder_;
        fs::create_directories(link.parent_path());
        fs::create_hard_link(databasePath(), link);
    }
}

StandInDatabase::~StandInDatabase()
{
    std::error_code ignored;
    fs::current_path(previousWorkingFolder_, ignored);
    fs::remove_all(root_, ignored);
    fs::remove(databasePath(), ignored);
}

std::string StandInDatabase::databasePath() const
{
    return programFolder_ + "/#ZUDOZ.Mdb";
}

void StandInDatabase::removeFile() const
{
    fs::remove(databasePath());
}

std::vector<ArticleRow> StandInDatabase::rows() const
{
    std::vector<ArticleRow> rows;
    const Sqlite db = OpenFile(databasePath(), SQLITE_OPEN_READONLY);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db.get(), "select Title, Content, Article_Type from Artitle order by ID", -1,
                       &statement, nullptr);
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
        rows.push_back({ColumnBytes(statement, 0), ColumnBytes(statement, 1), ColumnBytes(statement, 2)});
    }
    sqlite3_finalize(statement);
    return rows;
}

int StandInDatabase::countWhere(const std::string& condition) const
{
    const Sqlite db = OpenFile(databasePath(), SQLITE_OPEN_READONLY);
    sqlite3_stmt* statement = nullptr;
    const std::string sql = "select count(*) from Artitle where " + condition;
    sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &statement, nullptr);
    const int count =
        statement && sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
    sqlite3_finalize(statement);
    return count;
}

bool StandInDatabase::hasTable() const
{
    const Sqlite db = OpenFile(databasePath(), SQLITE_OPEN_READONLY);
    return sqlite3_exec(db.get(), "select count(*) from Artitle", nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace korvel::test
