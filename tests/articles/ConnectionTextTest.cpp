#include <gtest/gtest.h>

#include "articles/AccessConnection.h"

namespace korvel {
namespace {

TEST(AccessConnectionText, NamesTheFileItsFolderAndTheAccessDriver)
{
    EXPECT_EQ(AccessConnectionText("/opt/korvel/#ZUDOZ.Mdb"),
              "ODBC;DBQ=/opt/korvel/#ZUDOZ.Mdb;DefaultDir=/opt/korvel;"
              "Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;");
    // The folder is cut at the last separator only.
    EXPECT_EQ(AccessConnectionText("/a/b.c/d/x.mdb"),
              "ODBC;DBQ=/a/b.c/d/x.mdb;DefaultDir=/a/b.c/d;Driver={Microsoft Access Driver (*.mdb)};FIL=MS "
              "Access;");
}

TEST(AccessConnectionText, LeavesOutWhatIsNotGiven)
{
    EXPECT_EQ(AccessConnectionText("#ZUDOZ.Mdb"),
              "ODBC;DBQ=#ZUDOZ.Mdb;Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;");
    EXPECT_EQ(AccessConnectionText("/d/x.mdb", "admin", "secret"),
              "ODBC;DBQ=/d/x.mdb;DefaultDir=/d;Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;"
              "UID=admin;PWD=secret;");
    EXPECT_EQ(
        AccessConnectionText("/d/x.mdb", "", "secret"),
        "ODBC;DBQ=/d/x.mdb;DefaultDir=/d;Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;PWD=secret;");
    EXPECT_EQ(
        AccessConnectionText("/d/x.mdb", "admin"),
        "ODBC;DBQ=/d/x.mdb;DefaultDir=/d;Driver={Microsoft Access Driver (*.mdb)};FIL=MS Access;UID=admin;");
}

TEST(DriverConnectionText, DropsOnlyTheLeadingOdbcMark)
{
    EXPECT_EQ(DriverConnectionText("ODBC;DBQ=/d/x.mdb;"), "DBQ=/d/x.mdb;");
    EXPECT_EQ(DriverConnectionText("DBQ=/d/ODBC;x.mdb;"), "DBQ=/d/ODBC;x.mdb;");
}

}  // namespace
}  // namespace korvel
