#include "pgstore/Pg.h"

#include <libpq-fe.h>

#include <cstdlib>
#include <utility>

namespace korvel::pg {
namespace {

// libpq's messages end with a line break; one line reads better on stderr.
std::string OneLine(const char* message)
{
    std::string text = message ? message : "";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.pop_back();
    for (char& c : text) {
        if (c == '\n')
            c = ' ';
    }
    return text;
}

}  // namespace

Result::~Result()
{
    PQclear(result_);
}

Result::Result(Result&& other) noexcept : result_(std::exchange(other.result_, nullptr)) {}

int Result::rows() const
{
    return PQntuples(result_);
}

bool Result::isNull(int row, int column) const
{
    return PQgetisnull(result_, row, column) != 0;
}

std::string Result::text(int row, int column) const
{
    return std::string(PQgetvalue(result_, row, column), static_cast<size_t>(PQgetlength(result_, row, column)));
}

long long Result::integer(int row, int column) const
{
    return std::atoll(PQgetvalue(result_, row, column));
}

std::string Result::bytes(int row, int column) const
{
    size_t length = 0;
    unsigned char* raw =
        PQunescapeBytea(reinterpret_cast<const unsigned char*>(PQgetvalue(result_, row, column)), &length);
    if (raw == nullptr)
        throw PgFailure{"out of memory reading a stored value"};
    std::string value(reinterpret_cast<const char*>(raw), length);
    PQfreemem(raw);
    return value;
}

Connection::Connection(const std::string& uri, int connectSeconds)
{
    const std::string timeout = std::to_string(connectSeconds);
    // The URI's own settings win over these defaults (expand_dbname takes it whole).
    const char* keys[] = {"connect_timeout", "application_name", "keepalives_idle", "keepalives_count",
                          "dbname", nullptr};
    const char* values[] = {timeout.c_str(), "korvel-collect", "30", "4", uri.c_str(), nullptr};
    conn_ = PQconnectdbParams(keys, values, 1);
    if (conn_ == nullptr)
        throw PgFailure{"out of memory connecting to the store"};
    // A constructor that throws runs no destructor: the handle is let go here.
    if (PQstatus(conn_) != CONNECTION_OK) {
        const std::string message = OneLine(PQerrorMessage(conn_));
        PQfinish(conn_);
        throw PgFailure{"cannot connect to the store: " + message};
    }
    cancel_ = PQgetCancel(conn_);
    try {
        exec("SET client_min_messages = warning");
        // No wait on the server is unbounded: a statement or a lock held elsewhere ends in a
        // failure the batch reports (exit 1, retry) rather than a hang.
        exec("SET statement_timeout = '120s'");
    } catch (const PgFailure&) {
        PQfreeCancel(cancel_);
        PQfinish(conn_);
        throw;
    }
}

Connection::~Connection()
{
    PQfreeCancel(cancel_);
    PQfinish(conn_);
}

void Connection::interrupt()
{
    interrupted_ = true;
    char ignored[256];
    if (cancel_ != nullptr)
        PQcancel(cancel_, ignored, sizeof ignored);
}

void Connection::fail(const std::string& what) const
{
    throw PgFailure{what + ": " + OneLine(PQerrorMessage(conn_))};
}

Result Connection::exec(const char* sql, const std::vector<Param>& params)
{
    if (interrupted_)
        throw PgFailure{"the store's work was cancelled"};
    std::vector<const char*> values;
    for (const Param& param : params)
        values.push_back(param ? param->c_str() : nullptr);
    PGresult* raw =
        PQexecParams(conn_, sql, static_cast<int>(values.size()), nullptr, values.data(), nullptr, nullptr, 0);
    const ExecStatusType status = PQresultStatus(raw);
    Result result(raw);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        fail(PQstatus(conn_) == CONNECTION_OK ? "the store refused a statement" : "the store's connection was lost");
    return result;
}

void Connection::execScript(const char* sql)
{
    PGresult* raw = PQexec(conn_, sql);
    const bool ok = PQresultStatus(raw) == PGRES_COMMAND_OK;
    Result result(raw);
    if (!ok)
        fail("the store refused a statement");
}

void Connection::copyIn(const char* sql, std::string_view rows)
{
    PGresult* raw = PQexec(conn_, sql);
    const bool copying = PQresultStatus(raw) == PGRES_COPY_IN;
    Result start(raw);
    if (!copying)
        fail("the store refused the products");
    if (PQputCopyData(conn_, rows.data(), static_cast<int>(rows.size())) != 1 || PQputCopyEnd(conn_, nullptr) != 1)
        fail("cannot send the products to the store");
    for (PGresult* end; (end = PQgetResult(conn_)) != nullptr;) {
        const bool ok = PQresultStatus(end) == PGRES_COMMAND_OK;
        Result owned(end);
        if (!ok)
            fail("the store refused the products");
    }
}

Transaction::Transaction(Connection& connection) : connection_(connection)
{
    connection_.exec("BEGIN");
}

Transaction::~Transaction()
{
    if (open_) {
        try {
            connection_.exec("ROLLBACK");
        } catch (const PgFailure&) {
            // The connection is gone: the server rolls back by itself.
        }
    }
}

void Transaction::commit()
{
    connection_.exec("COMMIT");
    open_ = false;
}

std::string HexBytes(std::string_view bytes)
{
    constexpr char hex[] = "0123456789abcdef";
    std::string text = "\\x";
    text.reserve(2 + bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text += hex[byte >> 4];
        text += hex[byte & 0xF];
    }
    return text;
}

}  // namespace korvel::pg
