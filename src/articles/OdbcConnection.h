#pragma once

// One open ODBC connection with its own environment, closed when it goes.

#include <memory>
#include <string>
#include <vector>

#include "articles/OdbcHandle.h"

namespace korvel {

class OdbcConnection {
public:
    // Connects with a connection text as the driver manager takes it, never letting the driver
    // ask the user for anything; null when the driver manager or the driver refuses.
    static std::unique_ptr<OdbcConnection> Connect(const std::string& driverConnectionText);
    ~OdbcConnection();
    OdbcConnection(const OdbcConnection&) = delete;
    OdbcConnection& operator=(const OdbcConnection&) = delete;

    // Runs one statement on its own, its "?" markers bound in order to `parameters` as character
    // data, so a value's bytes are stored as they are and can never alter the statement.
    [[nodiscard]] bool execute(const std::string& statement, const std::vector<std::string>& parameters);

private:
    OdbcConnection();

    OdbcHandle environment_;
    OdbcHandle connection_;
    bool connected_ = false;
};

}  // namespace korvel
