#pragma once

// The window's ODBC database component (外部数据库1): one connection at a time, kept until the
// component opens another or the process ends.

#include <memory>
#include <string>
#include <vector>

namespace korvel {

// Declared only: its handles are the driver manager's types, which the window never needs.
class OdbcConnection;

class OdbcDatabase {
public:
    OdbcDatabase();
    ~OdbcDatabase();

    // Connects to an Access database file through the driver manager with AccessConnectionText.
    // A path that is not an existing file is refused before any driver sees it, so no driver can
    // create an empty database in its place. On success the connection held before is closed and
    // the new one kept; on failure the old one stays.
    [[nodiscard]] bool openAccess(const std::string& path, const std::string& user = {},
                                  const std::string& password = {});

    // Runs a statement on the open connection, "?" markers bound to `parameters` in order. An
    // empty statement is not sent; it and the lack of a connection count as failure.
    [[nodiscard]] bool execute(const std::string& statement, const std::vector<std::string>& parameters = {});

private:
    std::unique_ptr<OdbcConnection> connection_;
};

}  // namespace korvel
