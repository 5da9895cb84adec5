#pragma once

// A browser's cookie database, read from a private copy: the browser may hold the file locked
// while it runs, and its journal beside it holds the latest cookies.

#include <sqlite3.h>

#include <functional>
#include <optional>
#include <string>

namespace korvel {

class CookieDatabase {
public:
    // Copies the file (and its -wal journal) to a temporary folder and opens the copy.
    explicit CookieDatabase(const std::string& path);
    ~CookieDatabase();
    CookieDatabase(const CookieDatabase&) = delete;
    CookieDatabase& operator=(const CookieDatabase&) = delete;

    bool opened() const { return db_ != nullptr; }
    // Why it could not be copied, opened or queried.
    const std::string& error() const { return error_; }

    // Runs the query and calls `row` for each result row; false (with error()) when it fails.
    bool select(const char* sql, const std::function<void(sqlite3_stmt*)>& row);

    // The text of column `column`, or nothing for NULL.
    static std::optional<std::string> Text(sqlite3_stmt* row, int column);

private:
    std::string folder_;
    sqlite3* db_ = nullptr;
    std::string error_;
};

}  // namespace korvel
