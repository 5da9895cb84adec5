#include "session/CookieDatabase.h"

#include <cstdlib>
#include <filesystem>

namespace korvel {
namespace {

namespace fs = std::filesystem;

std::string MakeTempFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp") + "/korvel-cookies-XXXXXX";
    return ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

}  // namespace

CookieDatabase::CookieDatabase(const std::string& path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        error_ = "no such file: " + path;
        return;
    }
    folder_ = MakeTempFolder();
    if (folder_.empty()) {
        error_ = "no temporary folder for a copy";
        return;
    }
    const std::string copy = folder_ + "/cookies.db";
    fs::copy_file(path, copy, ec);
    if (ec) {
        error_ = "cannot copy " + path + ": " + ec.message();
        return;
    }
    if (fs::exists(path + "-wal", ec))
        fs::copy_file(path + "-wal", copy + "-wal", ec);
    if (sqlite3_open_v2(copy.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        error_ = db_ ? sqlite3_errmsg(db_) : "cannot open the copy";
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

CookieDatabase::~CookieDatabase()
{
    sqlite3_close(db_);
    if (!folder_.empty()) {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
}

bool CookieDatabase::select(const char* sql, const std::function<void(sqlite3_stmt*)>& row)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr) != SQLITE_OK) {
        error_ = sqlite3_errmsg(db_);
        return false;
    }
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW)
        row(statement);
    if (step != SQLITE_DONE)
        error_ = sqlite3_errmsg(db_);
    sqlite3_finalize(statement);
    return step == SQLITE_DONE;
}

std::optional<std::string> CookieDatabase::Text(sqlite3_stmt* row, int column)
{
    if (sqlite3_column_type(row, column) == SQLITE_NULL)
        return std::nullopt;
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(row, column));
    const int size = sqlite3_column_bytes(row, column);
    return std::string(bytes != nullptr ? bytes : "", static_cast<size_t>(size));
}

}  // namespace korvel
