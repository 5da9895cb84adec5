#include "store/Sqlite.h"

#include <sqlite3.h>

#include "base/Cancellation.h"

namespace korvel::store {

Database::Database(const std::string& path, const Cancellation* stop) : stop_(stop)
{
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    const int code = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (code != SQLITE_OK) {
        SqliteFailure failure{code, db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code)};
        if (db_ != nullptr)
            failure.code = sqlite3_extended_errcode(db_);
        sqlite3_close(db_);
        db_ = nullptr;
        throw failure;
    }
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_handler(db_, &Database::WaitWhileBusy, this);
}

int Database::WaitWhileBusy(void* self, int attempts)
{
    // Short naps rather than SQLite's own timeout, so that an interruption ends the wait at once.
    constexpr int NapMs = 10;
    const auto* db = static_cast<Database*>(self);
    if (db->interrupted_ || (db->stop_ && db->stop_->cancelled()) || attempts * NapMs >= BusyTimeoutMs)
        return 0;
    sqlite3_sleep(NapMs);
    return 1;
}

void Database::interrupt()
{
    interrupted_ = true;
    sqlite3_interrupt(db_);
}

Database::~Database()
{
    sqlite3_close_v2(db_);
}

void Database::fail(int code) const
{
    const int extended = sqlite3_extended_errcode(db_);
    throw SqliteFailure{(extended & 0xff) == (code & 0xff) ? extended : code, sqlite3_errmsg(db_)};
}

void Database::execute(const char* sql)
{
    const int code = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK)
        fail(code);
}

Statement Database::prepare(const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    const int code = sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr);
    if (code != SQLITE_OK)
        fail(code);
    return Statement(*this, statement);
}

std::int64_t Database::integer(const char* sql)
{
    Statement statement = prepare(sql);
    return statement.step() ? statement.integer(0) : 0;
}

std::int64_t Database::lastInsertId() const
{
    return sqlite3_last_insert_rowid(db_);
}

Statement::~Statement()
{
    sqlite3_finalize(statement_);
}

Statement::Statement(Statement&& other) noexcept : db_(other.db_), statement_(other.statement_)
{
    other.statement_ = nullptr;
}

Statement& Statement::bind(int index, std::int64_t value)
{
    if (const int code = sqlite3_bind_int64(statement_, index, value); code != SQLITE_OK)
        db_->fail(code);
    return *this;
}

Statement& Statement::bind(int index, std::string_view bytes)
{
    const int code = sqlite3_bind_blob64(statement_, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT);
    if (code != SQLITE_OK)
        db_->fail(code);
    return *this;
}

Statement& Statement::bindText(int index, std::string_view utf8)
{
    const int code = sqlite3_bind_text64(statement_, index, utf8.data(), utf8.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    if (code != SQLITE_OK)
        db_->fail(code);
    return *this;
}

Statement& Statement::bindNull(int index)
{
    if (const int code = sqlite3_bind_null(statement_, index); code != SQLITE_OK)
        db_->fail(code);
    return *this;
}

bool Statement::step()
{
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    sqlite3_reset(statement_);
    db_->fail(code);
}

void Statement::run()
{
    while (step()) {
    }
    reset();
}

void Statement::reset()
{
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::int64_t Statement::integer(int column) const
{
    return sqlite3_column_int64(statement_, column);
}

std::string_view Statement::view(int column) const
{
    const void* data = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return data != nullptr ? std::string_view(static_cast<const char*>(data), static_cast<size_t>(size))
                           : std::string_view();
}

std::string Statement::bytes(int column) const
{
    return std::string(view(column));
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

WriteTransaction::WriteTransaction(Database& db) : db_(db)
{
    db_.execute("BEGIN IMMEDIATE");
}

WriteTransaction::~WriteTransaction()
{
    if (open_) {
        try {
            db_.execute("ROLLBACK");
        } catch (const SqliteFailure&) {
            // A failed statement may already have ended the transaction.
        }
    }
}

void WriteTransaction::commit()
{
    db_.execute("COMMIT");
    open_ = false;
}

ReadTransaction::ReadTransaction(Database& db) : db_(db)
{
    db_.execute("BEGIN");
}

ReadTransaction::~ReadTransaction()
{
    try {
        db_.execute("COMMIT");
    } catch (const SqliteFailure&) {
        // Nothing was written: a transaction that cannot end cleanly loses nothing.
    }
}

}  // namespace korvel::store
