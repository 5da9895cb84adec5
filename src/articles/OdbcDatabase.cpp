#include "articles/OdbcDatabase.h"

#include <filesystem>
#include <system_error>

#include "articles/AccessConnection.h"
#include "articles/OdbcConnection.h"

namespace korvel {

OdbcDatabase::OdbcDatabase() = default;
OdbcDatabase::~OdbcDatabase() = default;

bool OdbcDatabase::openAccess(const std::string& path, const std::string& user, const std::string& password)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return false;
    }
    auto opened = OdbcConnection::Connect(DriverConnectionText(AccessConnectionText(path, user, password)));
    if (!opened) {
        return false;
    }
    connection_ = std::move(opened);
    return true;
}

bool OdbcDatabase::execute(const std::string& statement, const std::vector<std::string>& parameters)
{
    if (statement.empty() || !connection_) {
        return false;
    }
    return connection_->execute(statement, parameters);
}

}  // namespace korvel
