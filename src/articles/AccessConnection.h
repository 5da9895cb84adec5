#pragma once

// The ODBC connection text for an Access database file, as an Access driver expects it.

#include <string>

namespace korvel {

// "ODBC;DBQ=<path>[;DefaultDir=<folder>];Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access
// [;UID=<user>][;PWD=<password>];". The folder is the path before its last "/" and is left out
// when the path has none; an empty user or password is left out.
std::string AccessConnectionText(const std::string& path, const std::string& user = {},
                                 const std::string& password = {});

// The text the driver manager receives: the connection text without its leading "ODBC;", which
// only marks it as an ODBC connection text.
std::string DriverConnectionText(const std::string& connectionText);

}  // namespace korvel
