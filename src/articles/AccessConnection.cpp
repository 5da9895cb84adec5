#include "articles/AccessConnection.h"

namespace korvel {

namespace {

constexpr char kOdbcMark[] = "ODBC;";

}  // namespace

std::string AccessConnectionText(const std::string& path, const std::string& user,
                                 const std::string& password)
{
    std::string text = kOdbcMark;
    text += "DBQ=" + path;
    const auto lastSeparator = path.rfind('/');
    if (lastSeparator != std::string::npos) {
        text += ";DefaultDir=" + path.substr(0, lastSeparator);
    }
    text += ";Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access";
    if (!user.empty()) {
        text += ";UID=" + user;
    }
    if (!password.empty()) {
        text += ";PWD=" + password;
    }
    return text + ";";
}

std::string DriverConnectionText(const std::string& connectionText)
{
    const std::string mark = kOdbcMark;
    if (connectionText.starts_with(mark)) {
        return connectionText.substr(mark.size());
    }
    return connectionText;
}

}  // namespace korvel
