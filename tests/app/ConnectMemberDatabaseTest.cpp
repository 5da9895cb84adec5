#include <cstdlib>

#include "MemberPageFixture.h"

namespace korvel::test {
namespace {

// The client library reads its default port and socket once, when it starts: point both at the
// test server before anything can start it, so "no port" and "no host" can be seen to reach it.
[[maybe_unused]] const bool DefaultsPointAtTestServer = [] {
    if (const auto port = TestMysqlPort()) {
        setenv("MYSQL_TCP_PORT", std::to_string(*port).c_str(), 1);
    }
    if (const std::string socket = TestMysqlSocket(); !socket.empty()) {
        setenv("MYSQL_UNIX_PORT", socket.c_str(), 1);
    }
    return true;
}();

using ConnectMemberDatabaseTest = MemberPageTest;

TEST_F(ConnectMemberDatabaseTest, InitialFieldsConnectAndTheListTakesTheGroupsRoom)
{
    // The initial texts, but for the throwaway server's port and database.
    connect();
    EXPECT_EQ(screen.status, Gbk("提示：数据库连接成功。"));
    EXPECT_TRUE(screen.messages.empty());
    EXPECT_FALSE(screen.control(MemberControl::ConnectionGroup).visible);
    EXPECT_FALSE(screen.control(MemberControl::WarningLabel).visible);
    EXPECT_EQ(screen.listLeft, 10);
    EXPECT_EQ(screen.listWidth, 957);
}

TEST_F(ConnectMemberDatabaseTest, WrongPasswordFailsAndASecondPressUsesTheCorrectedFields)
{
    screen.fields[MemberField::Password] = "wrong";
    pressConnect();
    EXPECT_FALSE(session.connection().connected());
    EXPECT_EQ(screen.status, Gbk("提示：数据库连接失败。"));
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text, Gbk("数据库连接失败！"));
    EXPECT_EQ(screen.messages[0].title, Gbk("连接失败"));
    EXPECT_EQ(screen.messages[0].icon, MessageIcon::None);
    EXPECT_TRUE(screen.control(MemberControl::ConnectionGroup).visible);
    EXPECT_TRUE(screen.control(MemberControl::WarningLabel).visible);
    EXPECT_EQ(screen.listLeft, 255);
    EXPECT_EQ(screen.listWidth, 712);

    screen.fields[MemberField::Password] = "";
    connect();
    EXPECT_EQ(screen.status, Gbk("提示：数据库连接成功。"));
    EXPECT_EQ(screen.messages.size(), 1u);
}

TEST_F(ConnectMemberDatabaseTest, FractionalPortIsTruncated)
{
    screen.fields[MemberField::Port] += ".9";
    connect();
}

TEST_F(ConnectMemberDatabaseTest, MissingDatabaseFails)
{
    screen.fields[MemberField::Database] = database->name() + "_missing";
    pressConnect();
    EXPECT_FALSE(session.connection().connected());
    EXPECT_EQ(screen.messages.size(), 1u);
}

TEST_F(ConnectMemberDatabaseTest, PortTextsWithoutANumberLeaveTheLibraryDefault)
{
    for (const char* port : {"abc", ""}) {
        screen.fields[MemberField::Port] = port;
        connect();  // the default port was pointed at the test server before the library started
    }
}

TEST_F(ConnectMemberDatabaseTest, EmptyHostMeansTheLocalServerThroughItsSocket)
{
    if (TestMysqlSocket().empty()) {
        GTEST_SKIP() << "the test server's socket is not known";
    }
    screen.fields[MemberField::Host] = "";
    connect();
    auto lease = session.connection().lease();
    EXPECT_EQ(std::string(mysql_get_host_info(lease.handle())).find("TCP"), std::string::npos);
}

TEST_F(ConnectMemberDatabaseTest, ReadingBeforeAConnectOnlyComplains)
{
    screen.onWindow([&] { ToggleMemberReading(session, screen); });
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text, Gbk("数据库尚未连接！"));
    EXPECT_EQ(screen.messages[0].title, Gbk("连接失败"));
    EXPECT_EQ(screen.control(MemberControl::ReadButton).caption, Gbk("读取用户信息"));
    EXPECT_EQ(session.memberReadingActive, 0);
    EXPECT_FALSE(session.readerAlive);
}

}  // namespace
}  // namespace korvel::test
