#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "standin/StandInDatabase.h"
#include "support/ThrowawayTls.h"

namespace korvel::test {

namespace {

// unixODBC remembers where its files are after the first call, so the folder is set once and
// kept for the whole process.
class DriverRegistration {
public:
    DriverRegistration() : folder_(tools::MakeTempDir("korvel-odbc"))
    {
        std::ofstream(folder_ + "/odbcinst.ini") << "[Microsoft Access Driver (*.mdb)]\n"
                                                    "Description=SQLite standing in for Access\n"
                                                    "Driver=libsqlite3odbc.so\n"
                                                    "DontDLClose=1\n";
        setenv("ODBCSYSINI", folder_.c_str(), 1);
        // An inherited ODBCINSTINI would rename the registration file and hide ours.
        unsetenv("ODBCINSTINI");
        // The per-user data-source file, which the driver manager creates when missing.
        setenv("ODBCINI", (folder_ + "/odbc.ini").c_str(), 1);
        // The SQLite driver loads the ini library for every connection and unloads it again, which
        // orphans the library's ini cache. Held loaded, the cache stays reachable and the leak
        // checker quiet about memory that is not ours.
        dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_GLOBAL);
    }
    ~DriverRegistration()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

private:
    std::string folder_;
};

}  // namespace

void UseStandInAccessDriver()
{
    static const DriverRegistration registration;
}

std::string ExpectedDriverText(const std::string& folder, const std::string& path)
{
    return "DBQ=" + path + ";DefaultDir=" + folder +
           ";Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;";
}

}  // namespace korvel::test
