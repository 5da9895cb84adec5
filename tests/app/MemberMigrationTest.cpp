// From the database to the back-end: what the reader puts in the list is what the back-end gets.

#include "MemberPageFixture.h"
#include "backend-stub/BackendStub.h"

namespace korvel::test {
namespace {

TEST_F(MemberPageTest, ReadMembersArriveAtTheBackEndAsUtf8)
{
    tools::BackendStub stub("admin", "secret");
    stub.start();
    auto uploading = std::make_unique<MemberPageSession>(jobs, stub.host(), "1");
    std::vector<tools::SeedMember> members = tools::NumberedMembers(12);
    members[3].realname = "欧阳&娜娜";
    members[3].shareid = std::nullopt;
    seed060(members);
    screen.schema = 60;
    screen.onWindow([&] { ConnectMemberDatabase(*uploading, screen); });
    ASSERT_TRUE(screen.waitFor([&] { return !uploading->connecting; }));
    ASSERT_TRUE(uploading->connection().connected());
    screen.onWindow([&] { ToggleMemberReading(*uploading, screen); });
    ASSERT_TRUE(screen.waitFor([&] { return !uploading->readerAlive; }));
    ASSERT_EQ(screen.rows.size(), 12u);
    ASSERT_TRUE(screen.control(MemberControl::UploadButton).enabled);

    screen.fields[MemberField::BackendUser] = "admin";
    screen.fields[MemberField::BackendPassword] = "secret";
    screen.onWindow([&] { StartMemberUpload(*uploading, screen); });
    ASSERT_TRUE(screen.waitFor([&] { return !uploading->uploadRunning; }));
    uploading.reset();

    EXPECT_EQ(screen.status, Gbk("已经成功导入：0，更新：12，失败：0"));
    const auto received = stub.members();
    ASSERT_EQ(received.size(), 12u);
    for (size_t i = 0; i < received.size(); ++i) {
        EXPECT_EQ(received[i].value("from_user"), members[i].fromUser);
        EXPECT_EQ(received[i].value("realname"), members[i].realname);
        EXPECT_EQ(received[i].value("city"), "");
        EXPECT_EQ(received[i].value("residecity"), "杭州");
    }
    EXPECT_EQ(received[3].value("from_user_b"), "");
    EXPECT_EQ(received[2].value("from_user_b"), members[1].fromUser);
    EXPECT_EQ(received[0].value("credit1"), "1.00");
}

}  // namespace
}  // namespace korvel::test
