#include <gtest/gtest.h>

#include "members/MemberUploadBody.h"
#include "support/MemberTestDatabase.h"

namespace korvel {
namespace {

using test::Gbk;

MemberRecord PlainMember()
{
    MemberRecord m;
    m.caption = "001";
    const char* cells[] = {"1", "oA", "oB", "Tom", "1",  "13800000000", "t@x.cn",           "pw", "2.5", "30",
                           "1", "1",  "0",  "CN",  "ZJ", "HZ",          "http://i.cn/a.jpg"};
    for (int c = 1; c <= MemberFieldCount; ++c) {
        m.cell(c) = cells[c - 1];
    }
    return m;
}

TEST(MemberUploadBody, KeysInOrderWithAccountAndCellsTwoToSeventeen)
{
    EXPECT_EQ(BuildMemberUploadBody(PlainMember(), "admin", "secret", "1"),
              "i=1&c=entry&m=zqn_fxxt&do=shopcollection&login=5&username=admin&password=secret"
              "&from_user=oA&from_user_b=oB&realname=Tom&gender=1&mobile=13800000000&email=t%40x.cn&pwd=pw"
              "&credit2=2.5&credit1=30&follow=1&status=1&flag=0&nationality=CN&resideprovince=ZJ"
              "&residecity=HZ&avatar=http%3A%2F%2Fi.cn%2Fa.jpg");
    EXPECT_EQ(BuildMemberUploadBody(PlainMember(), "admin", "secret"),
              BuildMemberUploadBody(PlainMember(), "admin", "secret", "1"));
    EXPECT_EQ(BuildMemberUploadBody(PlainMember(), "admin", "secret", "7").substr(0, 4), "i=7&");
}

TEST(MemberUploadBody, EmptySuperiorLeavesAnEmptyValue)
{
    MemberRecord m = PlainMember();
    m.cell(3).clear();
    EXPECT_NE(BuildMemberUploadBody(m, "u", "p", "1").find("&from_user_b=&realname=Tom&"), std::string::npos);
}

TEST(MemberUploadBody, ValuesAreUtf8AndFormEncodedSoNoFieldSpillsIntoAnother)
{
    MemberRecord m = PlainMember();
    m.cell(4) = Gbk("张&三=1+1 50%");
    m.cell(8) = "a&password=x";
    const std::string body = BuildMemberUploadBody(m, "ad&min", "p=w", "1");
    EXPECT_NE(body.find("&realname=%E5%BC%A0%26%E4%B8%89%3D1%2B1+50%25&"), std::string::npos) << body;
    EXPECT_NE(body.find("&pwd=a%26password%3Dx&"), std::string::npos);
    EXPECT_NE(body.find("&username=ad%26min&password=p%3Dw&"), std::string::npos);
}

TEST(MemberUploadBody, FormEncodingKeepsOnlyTheUnreservedBytes)
{
    EXPECT_EQ(FormEncode("aZ09*-._"), "aZ09*-._");
    EXPECT_EQ(FormEncode(" ~/?#\x01\xff"), "+%7E%2F%3F%23%01%FF");
}

TEST(MemberUploadReply, ReadsTheLeadingSignedNumber)
{
    EXPECT_EQ(MemberUploadReply("1"), 1);
    EXPECT_EQ(MemberUploadReply(" 2"), 2);
    EXPECT_EQ(MemberUploadReply("2abc"), 2);
    EXPECT_EQ(MemberUploadReply("-3"), -3);
    EXPECT_EQ(MemberUploadReply("\xef\xbb\xbf"
                                "2"),
              0);  // a byte-order mark is not white space
    EXPECT_EQ(MemberUploadReply(""), 0);
    EXPECT_EQ(MemberUploadReply("ok"), 0);
    EXPECT_EQ(MemberUploadReply(std::string("\0"
                                            "2",
                                            2)),
              0);
}

TEST(UploadTally, CountsOneAsImportedTwoAsUpdatedAndBelowOneAsFailed)
{
    UploadTally tally;
    for (int reply : {1, 2, -1, 3}) {
        tally.count(reply);
    }
    EXPECT_EQ(tally.imported, 1);
    EXPECT_EQ(tally.updated, 1);
    EXPECT_EQ(tally.failed, 1);
    tally.count(0);
    tally.count(-3);
    EXPECT_EQ(tally.failed, 3);
}

}  // namespace
}  // namespace korvel
