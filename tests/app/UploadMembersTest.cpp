#include <cstdlib>

#include "UploadMembersFixture.h"
#include "support/LocalServer.h"
#include "web/HttpSettings.h"

namespace korvel::test {
namespace {

using tools::FlakyBackend;

std::vector<std::string> Users(std::initializer_list<int> numbers)
{
    std::vector<std::string> users;
    for (const int n : numbers) {
        users.push_back("oUser" + std::to_string(n));
    }
    return users;
}

TEST_F(UploadMembersTest, BulkTallyCountsImportedUpdatedAndFailed)
{
    fillList(4);
    stub.scriptReplies({"1", "2", "-1", "3"});
    screen.onWindow([&] {
        StartMemberUpload(*session, screen);
        EXPECT_EQ(screen.control(MemberControl::UploadButton).caption, Gbk("正在导出..."));
        EXPECT_FALSE(screen.control(MemberControl::ReadButton).enabled);
        EXPECT_FALSE(screen.control(MemberControl::UploadButton).enabled);
        EXPECT_FALSE(screen.control(MemberControl::SchemaCombo).enabled);
    });
    ASSERT_TRUE(screen.waitFor([&] { return !session->uploadRunning; }));
    EXPECT_EQ(screen.status, Gbk("已经成功导入：1，更新：1，失败：1"));
    EXPECT_EQ(screen.statusHistory.size(), 4u);  // rewritten after every member
    ASSERT_EQ(stub.members().size(), 4u);
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(stub.members()[n].value("from_user"), "oUser" + std::to_string(n + 1));
    }
    expectControlsFree();
}

TEST_F(UploadMembersTest, EmptyListSendsNothingAndFreesTheControlsAtOnce)
{
    uploadAll();
    EXPECT_EQ(stub.requestCount(), 0);
    EXPECT_TRUE(screen.statusHistory.empty());
    expectControlsFree();
}

TEST_F(UploadMembersTest, RepliesThatAreNotNumbersCountAsFailed)
{
    fillList(4);
    stub.scriptReplies(
        {"\xef\xbb\xbf"
         "1",
         " 2", "2abc", ""});
    uploadAll();
    EXPECT_EQ(screen.status, Gbk("已经成功导入：0，更新：2，失败：2"));
}

TEST_F(UploadMembersTest, UnreachableBackEndFailsEveryMemberOnce)
{
    fillList(3);
    stub.stop();
    uploadAll();
    EXPECT_EQ(screen.status, Gbk("已经成功导入：0，更新：0，失败：3"));
    ASSERT_EQ(screen.messages.size(), 1u);  // the cause once, not once a member
    EXPECT_EQ(screen.messages[0].text, Gbk("已经成功导入：0，更新：0，失败：3\n服务器拒绝连接"));
    EXPECT_EQ(screen.messages[0].title, Gbk("导出失败"));
    expectControlsFree();
}

// A reset comes after the request was read on a kept connection: sending it again behind the user's
// back would count the member twice at the back-end.
TEST_F(UploadMembersTest, EveryMemberIsSentOnceAndOnlyTheFailedOnesAgainOnRetry)
{
    useFlakyBackend();
    fillList(8);
    flaky.script("oUser2", {FlakyBackend::Reset()});
    flaky.script("oUser3", {FlakyBackend::Reply(""), FlakyBackend::Reset()});
    flaky.script("oUser5", {FlakyBackend::Reply("-1")});
    flaky.script("oUser6", {FlakyBackend::Reset()});
    flaky.script("oUser7", {FlakyBackend::Reply("3")});  // counted nowhere, so not failed either
    uploadAll();
    EXPECT_EQ(screen.status, Gbk("已经成功导入：0，更新：3，失败：4"));
    const std::vector<std::string> first = flaky.bodies();
    EXPECT_EQ(flaky.fromUsers(), Users({1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(failedUsers(), Users({2, 3, 5, 6}));

    screen.onWindow([&] {
        StartFailedUploadRetry(*session, screen);
        EXPECT_EQ(screen.control(MemberControl::UploadButton).caption, Gbk("正在导出..."));
        EXPECT_FALSE(screen.control(MemberControl::ReadButton).enabled);
        EXPECT_FALSE(screen.control(MemberControl::UploadButton).enabled);
        EXPECT_FALSE(screen.control(MemberControl::SchemaCombo).enabled);
        EXPECT_FALSE(CanRetryFailedUploads(*session));
    });
    ASSERT_TRUE(screen.waitFor([&] { return !session->uploadRunning; }));
    EXPECT_EQ(screen.status, Gbk("已经成功导入：0，更新：3，失败：1"));
    expectControlsFree();
    const std::vector<std::string> all = flaky.bodies();
    ASSERT_EQ(all.size(), 12u);
    // The same bytes as the first time, in list order.
    EXPECT_EQ(std::vector<std::string>(all.begin() + 8, all.end()),
              (std::vector<std::string>{first[1], first[2], first[4], first[5]}));
    EXPECT_EQ(failedUsers(), Users({3}));

    retryFailed();
    EXPECT_EQ(screen.status, Gbk("已经成功导入：0，更新：1，失败：0"));
    EXPECT_EQ(flaky.fromUsers().back(), "oUser3");
    EXPECT_EQ(flaky.bodies().size(), 13u);
    EXPECT_TRUE(failedUsers().empty());
    screen.onWindow([&] { EXPECT_FALSE(CanRetryFailedUploads(*session)); });
}

TEST_F(UploadMembersTest, ReservedCharactersArriveIntactInTheirOwnFields)
{
    MemberRecord m = NumberedMember(1);
    m.cell(4) = Gbk("张&三=李+四 100%");
    m.cell(8) = "p&w=1";
    m.cell(17) = "http://img.cn/a.jpg?x=1&y=2";
    screen.rows = {m};
    uploadAll();
    const auto received = stub.members();
    ASSERT_EQ(received.size(), 1u);
    const tools::ReceivedForm& form = received[0];
    EXPECT_EQ(form.value("realname"), "张&三=李+四 100%");
    EXPECT_EQ(form.value("pwd"), "p&w=1");
    EXPECT_EQ(form.value("avatar"), "http://img.cn/a.jpg?x=1&y=2");
    const char* keys[] = {
        "i",          "c",           "m",        "do",     "login",  "username",    "password",
        "from_user",  "from_user_b", "realname", "gender", "mobile", "email",       "pwd",
        "credit2",    "credit1",     "follow",   "status", "flag",   "nationality", "resideprovince",
        "residecity", "avatar"};
    ASSERT_EQ(form.fields.size(), std::size(keys));
    for (size_t k = 0; k < std::size(keys); ++k) {
        EXPECT_EQ(form.fields[k].first, keys[k]);
    }
    EXPECT_EQ(form.value("i"), "1");
    EXPECT_EQ(form.value("c"), "entry");
    EXPECT_EQ(form.value("m"), "zqn_fxxt");
    EXPECT_EQ(form.value("do"), "shopcollection");
    EXPECT_EQ(form.value("login"), "5");
}

TEST_F(UploadMembersTest, SingleUploadReportsEachKnownReply)
{
    fillList(2);
    screen.selected = 1;
    struct Case {
        const char* reply;
        const char* text;
        const char* title;
    };
    const Case cases[] = {{"1", "已存在此会员，更新成功！", "导出成功"},
                          {"2", "导入会员成功，请进后台查看！", "导出成功"},
                          {"-1", "帐号或密码错误！", "导出失败"},
                          {"-3", "已存在此会员数据！", "导出失败"}};
    for (const Case& c : cases) {
        screen.messages.clear();
        stub.scriptReplies({c.reply});
        uploadSelected();
        ASSERT_EQ(screen.messages.size(), 1u) << c.reply;
        EXPECT_EQ(screen.messages[0].text, Gbk(c.text));
        EXPECT_EQ(screen.messages[0].title, Gbk(c.title));
        EXPECT_EQ(screen.messages[0].icon, MessageIcon::None);
    }
    for (const tools::ReceivedForm& form : stub.members()) {
        EXPECT_EQ(form.value("from_user"), "oUser2");
    }
}

TEST_F(UploadMembersTest, SingleUploadStaysSilentOnOtherReplies)
{
    fillList(1);
    screen.selected = 0;
    stub.scriptReplies({"0", "3",
                        "\xef\xbb\xbf"
                        "2",
                        "busy"});
    for (int i = 0; i < 4; ++i) {
        uploadSelected();
    }
    EXPECT_EQ(stub.requestCount(), 4);
    EXPECT_TRUE(screen.messages.empty());
}

TEST_F(UploadMembersTest, SingleUploadWithTheWrongAccountIsTold)
{
    fillList(1);
    screen.selected = 0;
    screen.fields[MemberField::BackendPassword] = "nope";
    uploadSelected();
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text, Gbk("帐号或密码错误！"));
    EXPECT_TRUE(stub.members().empty());
}

// The request that never got an answer says why instead of nothing.
TEST_F(UploadMembersTest, SingleUploadToAnUnreachableBackEndNamesTheCause)
{
    fillList(1);
    screen.selected = 0;
    stub.stop();
    uploadSelected();
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text, Gbk("服务器拒绝连接"));
    EXPECT_EQ(screen.messages[0].title, Gbk("导出失败"));
}

// Over https an upload passes the shop requests' certificate checks: a back-end whose certificate
// is not trusted gets nothing, not even over plain http, and the box names the cause; trusted
// through KORVEL_CA_FILE, it gets the member. No word about clear text either way.
TEST_F(UploadMembersTest, HttpsUploadsCheckTheBackEndsCertificate)
{
    tools::BackendStub secure("admin", "secret", TestTls().serverCert, TestTls().serverKey);
    secure.start();
    session = std::make_unique<MemberPageSession>(jobs, "https://" + secure.host(), "1");
    fillList(2);
    screen.selected = 1;
    struct Case {
        const char* caFile;
        const char* text;
        const char* title;
        size_t arrived;
    };
    const Case cases[] = {{"", "证书被拒绝：证书不受信任", "导出失败", 0},
                          {TestTls().caCert.c_str(), "导入会员成功，请进后台查看！", "导出成功", 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        setenv("KORVEL_CA_FILE", c.caFile, 1);
        CloseIdleConnections();
        screen.messages.clear();
        uploadSelected();
        ASSERT_EQ(screen.messages.size(), 1u);
        EXPECT_EQ(screen.messages[0].text, Gbk(c.text));
        EXPECT_EQ(screen.messages[0].title, Gbk(c.title));
        EXPECT_EQ(secure.members().size(), c.arrived);
        EXPECT_EQ(stub.requestCount(), 0);
    }
    uploadAll();
    unsetenv("KORVEL_CA_FILE");
    EXPECT_EQ(screen.status, Gbk("已经成功导入：1，更新：1，失败：0"));
    EXPECT_TRUE(screen.questions.empty());
}

// A refused certificate refuses every request after it the same way: the bulk upload stops sending
// at the first, counts the rest as failed (ready to be sent again) and names the cause under the
// tally.
TEST_F(UploadMembersTest, BulkUploadStopsAtARefusedCertificateAndNamesIt)
{
    tools::BackendStub secure("admin", "secret", TestTls().serverCert, TestTls().serverKey);
    secure.start();
    session = std::make_unique<MemberPageSession>(jobs, "https://" + secure.host(), "1");
    unsetenv("KORVEL_CA_FILE");
    CloseIdleConnections();
    fillList(3);
    uploadAll();
    EXPECT_EQ(screen.status, Gbk("已经成功导入：0，更新：0，失败：3"));
    // The tally after the first member, then once for the two never sent.
    EXPECT_EQ(screen.statusHistory.size(), 2u);
    ASSERT_EQ(screen.messages.size(), 1u);
    EXPECT_EQ(screen.messages[0].text, Gbk("已经成功导入：0，更新：0，失败：3\n证书被拒绝：证书不受信任"));
    EXPECT_EQ(screen.messages[0].title, Gbk("导出失败"));
    EXPECT_EQ(failedUsers(), Users({1, 2, 3}));
    EXPECT_EQ(secure.requestCount(), 0);
    EXPECT_EQ(stub.requestCount(), 0);
    expectControlsFree();
}

// An address with a path or junk is no address: the upload says why and sends nothing anywhere.
TEST_F(UploadMembersTest, AnAddressThatIsNoAddressSendsNothing)
{
    fillList(1);
    screen.selected = 0;
    for (const std::string& typed : {stub.host() + "/app", "http://admin@" + stub.host(), stub.host() + " x"}) {
        SCOPED_TRACE(typed);
        session->setBackendHost(typed);
        screen.messages.clear();
        screen.onWindow([&] { StartMemberUpload(*session, screen); });
        uploadSelected();
        ASSERT_EQ(screen.messages.size(), 2u);
        for (const ShownMessage& shown : screen.messages) {
            EXPECT_EQ(shown.text, Gbk("后台地址无效：" + typed +
                                      "\n只能填写 主机[:端口]、http://主机[:端口] 或 https://主机[:端口]，"
                                      "不能带路径或其他字符。"));
        }
        expectControlsFree();
    }
    EXPECT_EQ(stub.requestCount(), 0);
}

// Plain http to another machine: the first upload of the session asks once; "停止" sends nothing and
// asks again next time, "继续" sends and is not asked about again. This machine is never asked about.
TEST_F(UploadMembersTest, ClearTextToAnotherMachineIsSaidOnce)
{
    const std::string port = stub.host().substr(stub.host().find(':') + 1);
    setenv("KORVEL_CONNECT_TO", ("members.example:" + port + ":127.0.0.1:" + port).c_str(), 1);
    session->setBackendHost("members.example:" + port);
    fillList(1);
    screen.selected = 0;
    screen.goOn = false;
    uploadAll();
    ASSERT_EQ(screen.questions.size(), 1u);
    EXPECT_EQ(screen.questions[0].title, Gbk("明文传送"));
    EXPECT_EQ(screen.questions[0].text.rfind(Gbk("后台 members.example:" + port + " 不是本机"), 0), 0u);
    EXPECT_EQ(stub.requestCount(), 0);
    expectControlsFree();

    screen.goOn = true;
    uploadAll();
    uploadSelected();
    unsetenv("KORVEL_CONNECT_TO");
    EXPECT_EQ(screen.questions.size(), 2u);
    EXPECT_EQ(stub.requestCount(), 2);
}

TEST_F(UploadMembersTest, SingleUploadWithoutSelectionSendsNothing)
{
    fillList(1);
    uploadSelected();
    EXPECT_EQ(stub.requestCount(), 0);
}

}  // namespace
}  // namespace korvel::test
