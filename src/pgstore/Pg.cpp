#include "pgstore/Pg.h"

#include <libpq-fe.h>

#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>

#include "pgstore/PgAddress.h"

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

// The password the address carries, read the way libpq will read it; nothing when libpq cannot read
// the address at all. libpq's own words about an address it cannot read quote the address or its
// bad part ("invalid percent-encoded token: ..."), so they are never passed on.
static std::optional<std::string> PasswordOf(const std::string& uri)
{
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(uri.c_str(), &error);
    PQfreemem(error);
    if (options == nullptr)
        return std::nullopt;
    std::string password;
    for (const PQconninfoOption* option = options; option->keyword != nullptr; ++option) {
        if (std::string_view(option->keyword) == "password" && option->val != nullptr)
            password = option->val;
    }
    PQconninfoFree(options);
    return password;
}

Connection::Connection(const std::string& uri, int connectSeconds)
{
    const auto password = PasswordOf(uri);
    if (!password)
        throw PgFailure{"cannot connect to the store " + RedactedAddress(uri) +
                        ": not an address libpq can read (postgresql://[user@]host[:port]/database[?options]; "
                        "percent-encode reserved characters in the password)"};
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
        const std::string message = WithoutSecret(OneLine(PQerrorMessage(conn_)), *password);
        PQfinish(conn_);
        throw PgFailure{"cannot connect to the store " + RedactedAddress(uri) + ": " + message};
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
