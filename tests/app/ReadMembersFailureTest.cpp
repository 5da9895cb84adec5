#include <chrono>

#include "MemberPageFixture.h"

namespace korvel::test {
namespace {

class ReadMembersFailureTest : public MemberPageTest {
protected:
    void SetUp() override
    {
        MemberPageTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        seed052(tools::NumberedMembers(3));
        connect();
        screen.rows.resize(2);  // rows of an earlier read
        screen.rows[0].caption = "001";
        session.failedUploads = {screen.rows[0]};  // and an upload of them that failed
    }

    void expectQueryFailed()
    {
        ASSERT_EQ(screen.messages.size(), 1u);
        EXPECT_EQ(screen.messages[0].text, Gbk("数据查询失败！"));
        EXPECT_EQ(screen.messages[0].title, "");  // the default title
        EXPECT_EQ(screen.messages[0].icon, MessageIcon::Error);
        EXPECT_EQ(screen.control(MemberControl::ReadButton).caption, Gbk("读取用户信息"));
        EXPECT_TRUE(screen.control(MemberControl::ReadButton).enabled);
        EXPECT_TRUE(screen.control(MemberControl::SchemaCombo).enabled);
        EXPECT_FALSE(screen.control(MemberControl::UploadButton).enabled);
        EXPECT_EQ(session.memberReadingActive, 0);
        EXPECT_EQ(screen.rows.size(), 2u);
        EXPECT_EQ(screen.rows[0].caption, "001");
        EXPECT_EQ(session.failedUploads.size(), 1u);  // still theirs to send again
    }
};

TEST_F(ReadMembersFailureTest, EmptyIdentifierFails)
{
    screen.fields[MemberField::AccountId] = "";
    readToEnd();
    expectQueryFailed();
}

TEST_F(ReadMembersFailureTest, TheOtherGenerationsTablesAreMissing)
{
    screen.schema = 60;
    readToEnd();
    expectQueryFailed();
    // The server refused the statement: the connection itself is sound and stays.
    EXPECT_TRUE(session.connection().connected());
    EXPECT_FALSE(screen.control(MemberControl::ConnectionGroup).visible);
}

TEST_F(ReadMembersFailureTest, InjectedIdentifiersAreNeverSent)
{
    for (const char* attempt : {"1 or 1=1", "1; drop table ims_fans", "0 union select 1"}) {
        SCOPED_TRACE(attempt);
        screen.messages.clear();
        screen.fields[MemberField::AccountId] = attempt;
        const long long before = statementsSent();
        readToEnd();
        expectQueryFailed();
        // Nothing went out, not even the character set (the count's own query adds one).
        EXPECT_EQ(statementsSent() - before, 1);
    }
    EXPECT_EQ(database->scalar("select count(*) from ims_fans"), "3");
}

TEST_F(ReadMembersFailureTest, AStatementPastTheReadLimitFailsAndTheNextReadAsksForAConnection)
{
    session.connection().limits.read = std::chrono::seconds(1);
    connect();
    ASSERT_TRUE(database->lockForWriting("ims_fans"));
    readToEnd();
    expectQueryFailed();
    EXPECT_FALSE(session.connection().connected());
    // The connection group is back, so that the user can connect again.
    EXPECT_TRUE(screen.control(MemberControl::ConnectionGroup).visible);
    EXPECT_TRUE(screen.control(MemberControl::WarningLabel).visible);
    EXPECT_EQ(screen.listLeft, 255);
    EXPECT_EQ(screen.listWidth, 712);

    database->unlockTables();
    screen.onWindow([&] { ToggleMemberReading(session, screen); });
    ASSERT_EQ(screen.messages.size(), 2u);
    EXPECT_EQ(screen.messages[1].text, Gbk("数据库尚未连接！"));
    EXPECT_EQ(screen.messages[1].title, Gbk("连接失败"));
    EXPECT_FALSE(session.readerAlive);
    connect();
    readToEnd();
    EXPECT_EQ(screen.rows.size(), 3u);
}

TEST_F(ReadMembersFailureTest, AClosingWindowEndsTheReaderWithoutTouchingIt)
{
    screen.rows.clear();
    screen.afterAppend = [&] {
        screen.closing = true;  // the window goes away after the first row
    };
    screen.onWindow([&] { ToggleMemberReading(session, screen); });
    ASSERT_TRUE(screen.waitFor([&] { return screen.closing; }));
    session.shutdown();
    EXPECT_EQ(screen.rows.size(), 1u);
    EXPECT_EQ(session.memberReadingActive, 0);
    EXPECT_TRUE(screen.messages.empty());
}

}  // namespace
}  // namespace korvel::test
