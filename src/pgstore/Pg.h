#pragma once

#include <atomic>

// A thin owner of libpq's handles for this module's own sources: the connection and its results
// free themselves, and a failing call throws PgFailure, which the store's public functions turn
// into a text before it leaves the module. Values travel as text, bytea as hex.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct pg_conn;
struct pg_cancel;
struct pg_result;

namespace korvel::pg {

struct PgFailure {
    std::string message;  // libpq's or the server's words; never the connection's password
};

class Result {
public:
    explicit Result(pg_result* result) : result_(result) {}
    ~Result();
    Result(Result&& other) noexcept;
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;
    Result& operator=(Result&&) = delete;

    int rows() const;
    bool isNull(int row, int column) const;
    std::string text(int row, int column) const;
    long long integer(int row, int column) const;
    std::string bytes(int row, int column) const;  // a bytea column, decoded

private:
    pg_result* result_;
};

// A parameter: text, or SQL NULL.
using Param = std::optional<std::string>;

class Connection {
public:
    // Any libpq connection URI or keyword string; waits at most `connectSeconds` for the server.
    Connection(const std::string& uri, int connectSeconds);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Result exec(const char* sql, const std::vector<Param>& params = {});
    // From any thread: the statement under way is cancelled, and every later one fails at once.
    void interrupt();
    // Several statements without parameters (a migration).
    void execScript(const char* sql);
    // COPY … FROM STDIN with the rows already in COPY's text format.
    void copyIn(const char* sql, std::string_view rows);

private:
    [[noreturn]] void fail(const std::string& what) const;
    pg_conn* conn_ = nullptr;
    pg_cancel* cancel_ = nullptr;
    std::atomic<bool> interrupted_{false};
};

// A transaction that rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    void commit();

private:
    Connection& connection_;
    bool open_ = true;
};

// bytea as a hex literal, "\x…": GBK bytes stay bytes.
std::string HexBytes(std::string_view bytes);

}  // namespace korvel::pg
