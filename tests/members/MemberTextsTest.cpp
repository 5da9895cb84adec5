// The statements, captions and the form are what the back-end and the database see: they are
// checked against the texts written out here, not against the constants the code uses.

#include <gtest/gtest.h>

#include "members/MemberJobs.h"
#include "members/MemberQueries.h"
#include "members/MemberResult.h"
#include "support/MemberTestDatabase.h"

namespace korvel {
namespace {

using test::Gbk;

TEST(MemberQuery, OldGenerationStatementWrapsTheIdentifier)
{
    const auto statement = BuildMemberQuery(52, "7");
    ASSERT_TRUE(statement);
    EXPECT_EQ(
        statement->rfind("select b.id,b.weid,b.from_user,(select c.from_user from ims_bj_qmxk_member c ", 0),
        0u);
    const std::string tail = "where a.from_user=b.from_user and a.weid=7 and a.weid=b.weid";
    EXPECT_EQ(statement->substr(statement->size() - tail.size()), tail);
}

TEST(MemberQuery, EveryOtherSchemaValueTakesTheNewGenerationStatement)
{
    for (int value : {60, -1, 0, 53}) {
        const auto statement = BuildMemberQuery(value, "12");
        ASSERT_TRUE(statement);
        EXPECT_EQ(statement->rfind("select a.fanid,a.uniacid as weid,a.openid as from_user,", 0), 0u)
            << value;
        EXPECT_NE(statement->find("a.uid=b.uid and a.uniacid=12 and a.uniacid=b.uniacid and "
                                  "a.openid=c.from_user and a.uniacid=c.uniacid"),
                  std::string::npos);
    }
}

TEST(MemberQuery, AnythingButAPlainDecimalIntegerIsRefused)
{
    for (const char* id : {"", " ", "\t1", "1\n", "1 2", "1 or 1=1", "1; drop table ims_fans", "1.0", "0x1",
                           "--1", "-", "- 1", "+1", "1-", "\xa3\xb1" /* full-width 1 */, "1)", "'1'"}) {
        EXPECT_FALSE(BuildMemberQuery(52, id)) << id;
        EXPECT_FALSE(BuildMemberQuery(60, id)) << id;
    }
    // Spaces around the number, full-width ones included, are not part of it.
    const std::pair<const char*, const char*> accepted[] = {{"1", "1"},
                                                            {"007", "007"},
                                                            {"-3", "-3"},
                                                            {"4294967296", "4294967296"},
                                                            {" 12 ", "12"},
                                                            {"  7", "7"},
                                                            {"\xa1\xa1"
                                                             "5\xa1\xa1",
                                                             "5"}};
    for (const auto& [typed, sent] : accepted) {
        const auto statement = BuildMemberQuery(52, typed);
        ASSERT_TRUE(statement) << typed;
        EXPECT_NE(statement->find(std::string("a.weid=") + sent + " and a.weid=b.weid"), std::string::npos)
            << *statement;
    }
}

TEST(MemberRows, CaptionsArePaddedToThreeDigitsAndNeverCut)
{
    EXPECT_EQ(MemberRowCaption(1), "001");
    EXPECT_EQ(MemberRowCaption(42), "042");
    EXPECT_EQ(MemberRowCaption(999), "999");
    EXPECT_EQ(MemberRowCaption(1000), "1000");
    EXPECT_EQ(MemberRowCaption(123456), "123456");
}

TEST(MemberPort, TheNumericPrefixTruncatedTowardZero)
{
    EXPECT_EQ(MemberPortNumber("3306"), 3306);
    EXPECT_EQ(MemberPortNumber("3306.9"), 3306);
    EXPECT_EQ(MemberPortNumber("abc"), 0);
    EXPECT_EQ(MemberPortNumber(""), 0);
    EXPECT_EQ(MemberPortNumber("3307abc"), 3307);
    EXPECT_EQ(MemberPortNumber("99999999999"), 0);  // no 32-bit port: the library default
}

}  // namespace
}  // namespace korvel
