#pragma once

// A member page on the in-memory screen, pointed at a fresh database of its own.

#include <gtest/gtest.h>

#include <memory>

#include "MemoryMemberScreen.h"
#include "backend-stub/MemberTables.h"
#include "app/JobRunner.h"
#include "app/MemberPresses.h"
#include "support/MemberTestDatabase.h"

namespace korvel::test {

class MemberPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        KORVEL_NEED_MYSQL();
        database = std::make_unique<MemberTestDatabase>();
        ASSERT_TRUE(database->ok()) << "cannot reach the test MariaDB on port " << *TestMysqlPort();
        screen.fields[MemberField::Port] = std::to_string(database->port());
        screen.fields[MemberField::Database] = database->name();
    }

    void seed052(const std::vector<tools::SeedMember>& members)
    {
        ASSERT_TRUE(tools::CreateMemberTables052(database->db())) << mysql_error(database->db());
        ASSERT_TRUE(tools::SeedMembers052(database->db(), members)) << mysql_error(database->db());
    }
    void seed060(const std::vector<tools::SeedMember>& members)
    {
        ASSERT_TRUE(tools::CreateMemberTables060(database->db())) << mysql_error(database->db());
        ASSERT_TRUE(tools::SeedMembers060(database->db(), members)) << mysql_error(database->db());
    }

    // Presses 按钮6 and waits until the connect's end is shown.
    void pressConnect()
    {
        screen.onWindow([&] { ConnectMemberDatabase(session, screen); });
        ASSERT_TRUE(screen.waitFor([&] { return !session.connecting; }));
    }
    void connect()
    {
        pressConnect();
        ASSERT_TRUE(session.connection().connected());
    }

    // Presses 按钮7 and waits until the reader has made its last call into the window.
    void readToEnd()
    {
        screen.onWindow([&] { ToggleMemberReading(session, screen); });
        ASSERT_TRUE(screen.waitFor([&] { return !session.readerAlive; }));
    }

    // The statements the member connection has carried so far.
    long long statementsSent()
    {
        auto lease = session.connection().lease();
        const char sql[] = "show session status like 'Questions'";
        if (mysql_real_query(lease.handle(), sql, sizeof sql - 1) != 0) {
            return -1;
        }
        MYSQL_RES* result = mysql_store_result(lease.handle());
        MYSQL_ROW row = mysql_fetch_row(result);
        const long long count = std::stoll(row[1]);
        mysql_free_result(result);
        return count;
    }

    // Destroyed in reverse order: the session (waiting for its jobs), the runner (joining their
    // threads), then the screen they use.
    MemoryMemberScreen screen;
    JobRunner jobs;
    MemberPageSession session{jobs, "127.0.0.1:9", "1"};
    std::unique_ptr<MemberTestDatabase> database;
};

}  // namespace korvel::test
