#pragma once

// A thin owner of libsqlite3's handles for the store's own sources: the connection and its
// statements close themselves, and every failing call throws SqliteFailure, which the store's
// public functions turn into a StoreError before it leaves the module.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace korvel {
class Cancellation;
}

namespace korvel::store {

struct SqliteFailure {
    int code = 0;  // the extended result code
    std::string message;
};

class Statement;

// How long a call waits for another program's lock before it fails as Locked.
inline constexpr int BusyTimeoutMs = 5000;

class Database {
public:
    // Opens (creating when missing) the file at a UTF-8 path. Until stopWaitingOn(nullptr), a
    // wait for another program's lock also ends once `stop` is cancelled.
    explicit Database(const std::string& path, const Cancellation* stop = nullptr);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void execute(const char* sql);
    Statement prepare(const char* sql);
    std::int64_t integer(const char* sql);  // the first column of the first row
    std::int64_t lastInsertId() const;
    [[noreturn]] void fail(int code) const;
    // From any thread: the statement under way stops, and waits for another program's lock give
    // up at once from now on.
    void interrupt();
    void stopWaitingOn(const Cancellation* stop) { stop_ = stop; }

private:
    static int WaitWhileBusy(void* self, int attempts);

    sqlite3* db_ = nullptr;
    std::atomic<bool> interrupted_{false};
    const Cancellation* stop_ = nullptr;
};

class Statement {
public:
    Statement(Database& db, sqlite3_stmt* statement) : db_(&db), statement_(statement) {}
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement& operator=(Statement&&) = delete;

    // Parameters count from 1, as in SQL.
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, std::string_view bytes);  // stored as a blob: GBK stays bytes
    Statement& bindText(int index, std::string_view utf8);
    Statement& bindNull(int index);
    // True while a row is there to read.
    bool step();
    void run();  // a statement that gives no rows, reset afterwards
    void reset();

    // Columns count from 0.
    std::int64_t integer(int column) const;
    std::string bytes(int column) const;
    std::string_view view(int column) const;  // valid until the next step
    bool isNull(int column) const;

private:
    Database* db_;
    sqlite3_stmt* statement_;
};

// BEGIN IMMEDIATE at once (a second writer waits for the busy timeout rather than failing halfway
// through), ROLLBACK unless committed.
class WriteTransaction {
public:
    explicit WriteTransaction(Database& db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit();

private:
    Database& db_;
    bool open_ = true;
};

// A plain BEGIN: every read inside sees one state of the file, whatever another program commits
// meanwhile. Ended when it goes.
class ReadTransaction {
public:
    explicit ReadTransaction(Database& db);
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    Database& db_;
};

}  // namespace korvel::store
