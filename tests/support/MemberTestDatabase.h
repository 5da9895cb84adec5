#pragma once

// A database of its own for one test on the throwaway MariaDB that scripts/test starts (its port in
// KORVEL_TEST_MYSQL_PORT), dropped again at the end; and text helpers for the GBK the reader sees.

#include <mysql.h>

#include <optional>
#include <string>

#include "support/TestEnvironment.h"
#include "support/TestGbk.h"

namespace korvel::test {

// In SetUp(): skips the test without a server, or fails it when servers are required.
#define KORVEL_NEED_MYSQL()                                                             \
    do {                                                                                \
        if (!::korvel::test::TestMysqlPort()) {                                         \
            if (::korvel::test::ServersRequired()) {                                    \
                FAIL() << "KORVEL_TEST_MYSQL_PORT is not set but servers are required"; \
            }                                                                           \
            GTEST_SKIP() << "no MariaDB for the tests (KORVEL_TEST_MYSQL_PORT unset)";  \
        }                                                                               \
    } while (0)

class MemberTestDatabase {
public:
    MemberTestDatabase();
    ~MemberTestDatabase();
    MemberTestDatabase(const MemberTestDatabase&) = delete;
    MemberTestDatabase& operator=(const MemberTestDatabase&) = delete;

    bool ok() const { return db_ != nullptr; }
    MYSQL* db() { return db_; }
    const std::string& name() const { return name_; }
    int port() const { return port_; }
    // The first column of the first row of a query, empty when there is none.
    std::string scalar(const std::string& sql);

    // Holds `table` locked for writing, so that statements of other connections reading it wait,
    // until unlockTables() or the end of the test.
    bool lockForWriting(const std::string& table);
    void unlockTables();
    // Whether a statement of another connection to this database waits for a table lock.
    bool lockWaiterPresent();

private:
    MYSQL* db_ = nullptr;
    std::string name_;
    int port_ = 0;
};

}  // namespace korvel::test
