#include <gtest/gtest.h>

#include "web/UrlHelpers.h"

namespace korvel {
namespace {

struct MergeCase {
    const char* name;
    std::string jar;
    std::string returned;
    std::string mergedJar;
    std::string returnedAfter;
};

void PrintTo(const MergeCase& c, std::ostream* os)
{
    *os << c.name;
}

class MergeCookiesCases : public testing::TestWithParam<MergeCase> {};

TEST_P(MergeCookiesCases, NewCookiesWinAndDeletedOnesGo)
{
    const MergeCase& c = GetParam();
    std::string jar = c.jar;
    std::string returned = c.returned;
    MergeCookies(jar, returned);
    EXPECT_EQ(jar, c.mergedJar);
    EXPECT_EQ(returned, c.returnedAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Web, MergeCookiesCases,
    testing::Values(MergeCase{"NewWinOldFollow", "a=1; b=2", "b=3; c=4", "b=3; c=4; a=1", "b=3;c=4"},
                    MergeCase{"DeletedDropped", "a=1; b=2", "a=deleted", "b=2", "a=deleted"},
                    MergeCase{"BothEmpty", "", "", "", ""},
                    MergeCase{"EmptyJar", "", "x=1; y=2", "x=1; y=2", "x=1;y=2"},
                    MergeCase{"NothingReturned", "a=1; b=2", "", "a=1; b=2", ""},
                    MergeCase{"FirstOldOfANameTaken", "a=1; a=2; b=3", "", "a=1; b=3", ""},
                    MergeCase{"ExactDuplicatesRemoved", "", "a=1; a=1; b=2", "a=1; b=2", "a=1;a=1;b=2"},
                    MergeCase{"SameNameNewOnesKept", "", "a=1; a=2", "a=1; a=2", "a=1;a=2"},
                    MergeCase{"OnlyDeleted", "a=1", "a=deleted", "", "a=deleted"},
                    MergeCase{"DeletedIsCaseSensitive", "", "a=DELETED", "a=DELETED", "a=DELETED"},
                    MergeCase{"SpacesInsideValuesGo", "a=x y",
                              "\xA1\xA1"
                              "b = 2",
                              "b=2; a=xy", "b=2"},
                    MergeCase{"NameWithoutValue", "flag; a=1", "flag=on", "flag=on; a=1", "flag=on"},
                    MergeCase{"TrailingSeparator", "a=1;", "b=2;", "b=2; a=1", "b=2;"}),
    [](const testing::TestParamInfo<MergeCase>& tested) { return tested.param.name; });

TEST(CookieName, IsTheTrimmedTextBeforeTheFirstEquals)
{
    EXPECT_EQ(CookieName(" a =1=2"), "a");
    EXPECT_EQ(CookieName("flag"), "flag");
    EXPECT_EQ(CookieName("=v"), "");
    EXPECT_EQ(CookieName(""), "");
}

TEST(HasCookieNamed, ComparesNamesExactly)
{
    const std::vector<std::string> items{"a=1", " B =2", "c"};
    EXPECT_TRUE(HasCookieNamed(items, "a"));
    EXPECT_TRUE(HasCookieNamed(items, "B"));
    EXPECT_TRUE(HasCookieNamed(items, "c"));
    EXPECT_FALSE(HasCookieNamed(items, "b"));
    EXPECT_FALSE(HasCookieNamed(items, "a=1"));
    EXPECT_FALSE(HasCookieNamed({}, ""));
}

TEST(RemoveDuplicateItems, KeepsTheFirstOfEachItem)
{
    EXPECT_EQ(RemoveDuplicateItems("a; b; a", "; "), "a; b");
    EXPECT_EQ(RemoveDuplicateItems("a; A; a; b; b", "; "), "a; A; b");
    EXPECT_EQ(RemoveDuplicateItems("a,,b,,", ","), "a,,b");
    EXPECT_EQ(RemoveDuplicateItems("", "; "), "");
    EXPECT_EQ(RemoveDuplicateItems("a", "; "), "a");
}

TEST(IndexOfText, FindsTheFirstEqualItem)
{
    const std::vector<std::string> items{"x", "y", "x", "Y"};
    EXPECT_EQ(IndexOfText(items, "x"), 1);
    EXPECT_EQ(IndexOfText(items, "Y"), 4);
    EXPECT_EQ(IndexOfText(items, "z"), -1);
    EXPECT_EQ(IndexOfText({}, ""), -1);
}

}  // namespace
}  // namespace korvel
