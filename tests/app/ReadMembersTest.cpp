#include <future>
#include <thread>

#include "MemberPageFixture.h"

namespace korvel::test {
namespace {

using tools::SeedMember;

// A referral tree of account 1 with every shape of superior, and a member of another account.
std::vector<SeedMember> Tree()
{
    auto member = [](int id, std::optional<int> shareid, const char* name) {
        SeedMember m;
        m.id = id;
        m.fromUser = "oUser" + std::to_string(id);
        m.shareid = shareid;
        m.realname = name;
        m.mobile = "1380000000" + std::to_string(id);
        m.email = "u" + std::to_string(id) + "@mail.cn";
        m.pwd = "pw" + std::to_string(id);
        m.avatar = "http://img.cn/" + std::to_string(id) + ".png";
        m.gender = id % 3;
        m.credit1 = "1" + std::to_string(id);
        m.credit2 = "12.5";
        m.nationality = "中国";
        m.province = "广东";
        m.city = "深圳";
        return m;
    };
    std::vector<SeedMember> tree = {
        member(1, 0, "张三"),             // top level
        member(2, 1, "李四"),             // its superior is top level: no superior shown
        member(3, 2, "王五"),             // superior oUser2
        member(4, std::nullopt, "赵六"),  // NULL referrer
        member(5, 99, "钱七"),            // referrer row missing
    };
    SeedMember other = member(6, 0, "孙八");
    other.weid = 2;
    tree.push_back(other);
    return tree;
}

class ReadMembersTest : public MemberPageTest {
protected:
    void expectTreeRows(const std::string& credit2)
    {
        ASSERT_EQ(screen.rows.size(), 5u);
        const char* superiors[] = {"", "", "oUser2", "", ""};
        const char* names[] = {"张三", "李四", "王五", "赵六", "钱七"};
        for (int i = 0; i < 5; ++i) {
            const MemberRecord& row = screen.rows[i];
            const std::string id = std::to_string(i + 1);
            EXPECT_EQ(row.caption, "00" + id);
            EXPECT_EQ(row.cell(1), "1");
            EXPECT_EQ(row.cell(2), "oUser" + id);
            EXPECT_EQ(row.cell(3), superiors[i]) << "row " << i;
            EXPECT_EQ(row.cell(4), Gbk(names[i]));
            EXPECT_EQ(row.cell(5), std::to_string((i + 1) % 3));
            EXPECT_EQ(row.cell(6), "1380000000" + id);
            EXPECT_EQ(row.cell(7), "u" + id + "@mail.cn");
            EXPECT_EQ(row.cell(8), "pw" + id);
            EXPECT_EQ(row.cell(9), credit2);  // the balance before the points
            EXPECT_TRUE(row.cell(10).rfind("1" + id, 0) == 0) << row.cell(10);
            EXPECT_EQ(row.cell(11), "1");
            EXPECT_EQ(row.cell(12), "1");
            EXPECT_EQ(row.cell(13), "0");
            EXPECT_EQ(row.cell(14), Gbk("中国"));
            EXPECT_EQ(row.cell(15), Gbk("广东"));
            EXPECT_EQ(row.cell(16), Gbk("深圳"));
            EXPECT_EQ(row.cell(17), "http://img.cn/" + id + ".png");
        }
    }

    void expectIdleAfterRead(bool uploadEnabled)
    {
        EXPECT_EQ(screen.control(MemberControl::ReadButton).caption, Gbk("读取用户信息"));
        EXPECT_TRUE(screen.control(MemberControl::ReadButton).enabled);
        EXPECT_TRUE(screen.control(MemberControl::SchemaCombo).enabled);
        EXPECT_EQ(screen.control(MemberControl::UploadButton).enabled, uploadEnabled);
        EXPECT_EQ(session.memberReadingActive, 0);
    }
};

TEST_F(ReadMembersTest, OldGenerationRowsInListOrderWithTheirSuperiors)
{
    seed052(Tree());
    connect();
    readToEnd();
    expectTreeRows("12.5");
    EXPECT_EQ(screen.status, Gbk("提示：读取成功，记录总数5条。"));
    EXPECT_TRUE(screen.messages.empty());
    expectIdleAfterRead(true);
}

TEST_F(ReadMembersTest, NewGenerationRowsWithDecimalCredits)
{
    seed060(Tree());
    connect();
    screen.schema = 60;
    readToEnd();
    expectTreeRows("12.50");
    expectIdleAfterRead(true);
}

TEST_F(ReadMembersTest, WhileReadingTheButtonStopsAndTheOthersAreLocked)
{
    seed052(Tree());
    connect();
    bool checked = false;
    screen.afterAppend = [&] {
        if (checked) {
            return;
        }
        checked = true;
        EXPECT_EQ(screen.control(MemberControl::ReadButton).caption, Gbk("停止读取"));
        EXPECT_TRUE(screen.control(MemberControl::ReadButton).enabled);
        EXPECT_FALSE(screen.control(MemberControl::UploadButton).enabled);
        EXPECT_FALSE(screen.control(MemberControl::SchemaCombo).enabled);
        EXPECT_EQ(session.memberReadingActive, 1);
    };
    readToEnd();
    EXPECT_TRUE(checked);
}

// The reader holds the connection only for its statement: a connect press while rows are being
// shown (the reader waiting for the window) would otherwise wait for the reader, which waits for it.
TEST_F(ReadMembersTest, AConnectPressWhileRowsArriveDoesNotWaitForTheReader)
{
    seed052(Tree());
    connect();
    MemberDbAddress address;
    address.port = static_cast<unsigned int>(database->port());
    address.database = database->name();
    std::promise<bool> connected;
    std::future<bool> press = connected.get_future();
    std::thread presser;
    bool waited = false;
    screen.afterAppend = [&] {
        if (presser.joinable()) {
            return;
        }
        presser = std::thread([&] { connected.set_value(session.connection().connect(address)); });
        waited = press.wait_for(std::chrono::seconds(10)) != std::future_status::ready;
    };
    readToEnd();
    presser.join();
    EXPECT_FALSE(waited) << "the press waited for the reader";
    EXPECT_TRUE(press.get());
    expectTreeRows("12.5");
    expectIdleAfterRead(true);
}

TEST_F(ReadMembersTest, ThousandsOfRowsKeepCountingPastThreeDigits)
{
    seed052(tools::NumberedMembers(1234));
    connect();
    screen.statusHistory.clear();
    readToEnd();
    ASSERT_EQ(screen.rows.size(), 1234u);
    EXPECT_EQ(screen.rows[0].caption, "001");
    EXPECT_EQ(screen.rows[98].caption, "099");
    EXPECT_EQ(screen.rows[998].caption, "999");
    EXPECT_EQ(screen.rows[999].caption, "1000");
    EXPECT_EQ(screen.rows[1233].caption, "1234");
    // The total is written once, before the first row, and stays.
    ASSERT_EQ(screen.statusHistory.size(), 1u);
    EXPECT_EQ(screen.statusHistory[0], Gbk("提示：读取成功，记录总数1234条。"));
    // Every tenth member is top level, so the member after it has no superior shown.
    EXPECT_EQ(screen.rows[1].cell(3), "");
    EXPECT_EQ(screen.rows[2].cell(3), "oFan1_2");
}

TEST_F(ReadMembersTest, BatchedRowsMakeTheSameList)
{
    seed052(tools::NumberedMembers(1234));
    connect();
    session.readPacing = {100, std::chrono::milliseconds(0)};
    readToEnd();
    ASSERT_EQ(screen.rows.size(), 1234u);
    EXPECT_EQ(screen.appendCalls, 13);
    EXPECT_EQ(screen.rows[1233].caption, "1234");
}

TEST_F(ReadMembersTest, StopAfterFiveOfTwentyKeepsFiveAndFreesTheUploadButton)
{
    seed052(tools::NumberedMembers(20));
    connect();
    bool readButtonHeldAfterStop = false;
    screen.afterAppend = [&] {
        if (screen.rows.size() == 5) {
            ToggleMemberReading(session, screen);  // the stop press
            readButtonHeldAfterStop = !screen.control(MemberControl::ReadButton).enabled;
        }
    };
    readToEnd();
    EXPECT_EQ(screen.rows.size(), 5u);
    EXPECT_EQ(screen.status, Gbk("提示：停止读取，记录总数20条，当前读取到5条。"));
    EXPECT_TRUE(readButtonHeldAfterStop);
    expectIdleAfterRead(true);
}

TEST_F(ReadMembersTest, StopBeforeTheFirstRowStillEmptiesTheList)
{
    seed052(tools::NumberedMembers(20));
    connect();
    screen.rows.resize(3);  // rows of an earlier read
    screen.statusHistory.clear();
    screen.onWindow([&] {
        ToggleMemberReading(session, screen);
        ToggleMemberReading(session, screen);  // the stop press, before the statement has run
    });
    ASSERT_TRUE(screen.waitFor([&] { return !session.readerAlive; }));
    EXPECT_TRUE(screen.rows.empty());
    ASSERT_EQ(screen.statusHistory.size(), 2u);
    EXPECT_EQ(screen.statusHistory[0], Gbk("提示：读取成功，记录总数20条。"));
    EXPECT_EQ(screen.statusHistory[1], Gbk("提示：停止读取，记录总数20条，当前读取到0条。"));
    expectIdleAfterRead(true);
}

TEST_F(ReadMembersTest, AnEmptyResultEmptiesTheListAndLeavesUploadLocked)
{
    seed052(Tree());
    connect();
    screen.fields[MemberField::AccountId] = "42";
    screen.rows.resize(3);
    readToEnd();
    EXPECT_TRUE(screen.rows.empty());
    EXPECT_EQ(screen.status, Gbk("提示：读取成功，记录总数0条。"));
    expectIdleAfterRead(false);
}

TEST_F(ReadMembersTest, ASecondReadReplacesTheRowsAndForgetsTheirFailedUploads)
{
    seed052(Tree());
    connect();
    readToEnd();
    screen.fields[MemberField::AccountId] = "2";
    session.failedUploads = {screen.rows[0]};  // as left by an upload of the first list
    readToEnd();
    EXPECT_TRUE(session.failedUploads.empty());
    ASSERT_EQ(screen.rows.size(), 1u);
    EXPECT_EQ(screen.rows[0].caption, "001");
    EXPECT_EQ(screen.rows[0].cell(4), Gbk("孙八"));
}

}  // namespace
}  // namespace korvel::test
