#include "articles/OdbcConnection.h"

#include <sqlext.h>

#include <algorithm>
#include <limits>

namespace korvel {

namespace {

SQLCHAR* Chars(const std::string& text)
{
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(text.data()));
}

bool BindAll(SQLHSTMT statement, const std::vector<std::string>& parameters, std::vector<SQLLEN>& lengths)
{
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const std::string& value = parameters[i];
        lengths[i] = static_cast<SQLLEN>(value.size());
        const SQLULEN columnSize = std::max<SQLULEN>(value.size(), 1);
        const SQLRETURN bound =
            SQLBindParameter(statement, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, SQL_C_CHAR,
                             SQL_VARCHAR, columnSize, 0, Chars(value), lengths[i], &lengths[i]);
        if (!SQL_SUCCEEDED(bound)) {
            return false;
        }
    }
    return true;
}

// The environment once it has been told to speak ODBC 3, or no handle.
SQLHANDLE AsOdbc3(const OdbcHandle& environment)
{
    if (!environment) {
        return SQL_NULL_HANDLE;
    }
    const auto version = reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3);
    if (!SQL_SUCCEEDED(SQLSetEnvAttr(environment.get(), SQL_ATTR_ODBC_VERSION, version, 0))) {
        return SQL_NULL_HANDLE;
    }
    return environment.get();
}

}  // namespace

OdbcConnection::OdbcConnection()
    : environment_(SQL_HANDLE_ENV, SQL_NULL_HANDLE), connection_(SQL_HANDLE_DBC, AsOdbc3(environment_))
{
}

OdbcConnection::~OdbcConnection()
{
    if (connected_) {
        SQLDisconnect(connection_.get());
    }
}

std::unique_ptr<OdbcConnection> OdbcConnection::Connect(const std::string& driverConnectionText)
{
    if (driverConnectionText.size() > static_cast<std::size_t>(std::numeric_limits<SQLSMALLINT>::max())) {
        return nullptr;
    }
    std::unique_ptr<OdbcConnection> session(new OdbcConnection());
    if (!session->connection_) {
        return nullptr;
    }
    const SQLRETURN connected = SQLDriverConnect(
        session->connection_.get(), nullptr, Chars(driverConnectionText),
        static_cast<SQLSMALLINT>(driverConnectionText.size()), nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(connected)) {
        return nullptr;
    }
    session->connected_ = true;
    return session;
}

bool OdbcConnection::execute(const std::string& statement, const std::vector<std::string>& parameters)
{
    OdbcHandle handle(SQL_HANDLE_STMT, connection_.get());
    if (!handle) {
        return false;
    }
    if (!SQL_SUCCEEDED(
            SQLPrepare(handle.get(), Chars(statement), static_cast<SQLINTEGER>(statement.size())))) {
        return false;
    }
    // The driver reads the values and their lengths when the statement runs: both live until then.
    std::vector<SQLLEN> lengths(parameters.size());
    if (!BindAll(handle.get(), parameters, lengths)) {
        return false;
    }
    const SQLRETURN executed = SQLExecute(handle.get());
    return SQL_SUCCEEDED(executed) || executed == SQL_NO_DATA;
}

}  // namespace korvel
