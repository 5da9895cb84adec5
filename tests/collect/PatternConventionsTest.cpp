// The search conventions every page and item pattern relies on.

#include "PatternTestSupport.h"

namespace korvel::test {
namespace {

std::vector<std::vector<std::string>> All(const std::string& pattern, const std::string& text)
{
    return Groups(BothEngines(Pattern(pattern), text));
}

TEST(PatternConventions, RepeatedSearchIsNonOverlappingAndInOrder)
{
    EXPECT_EQ(All("a(.)a", "abacada"), (std::vector<std::vector<std::string>>{{"aba", "b"}, {"ada", "d"}}));
    EXPECT_TRUE(All("x", "").empty());
    EXPECT_TRUE(All("x", "yyy").empty());
}

TEST(PatternConventions, EmptyMatchesMoveOnByOneCharacter)
{
    // Between and around the characters of "a秋b": four empty matches, none repeated.
    const auto matches = All("x*",
                             "a\xC7\xEF"
                             "b");
    ASSERT_EQ(matches.size(), 4u);
    for (const auto& m : matches)
        EXPECT_EQ(m[0], "");
}

TEST(PatternConventions, OptionsDotAllCaseAndLines)
{
    EXPECT_EQ(All("a(.)b", "a\nb"), (std::vector<std::vector<std::string>>{{"a\nb", "\n"}}));
    EXPECT_TRUE(All("abc", "ABC").empty());
    EXPECT_EQ(All("^(x.)$", "x1\nx2\nyx3"),
              (std::vector<std::vector<std::string>>{{"x1", "x1"}, {"x2", "x2"}}));
}

TEST(PatternConventions, WhiteSpaceIsTheSameInBothEngines)
{
    // Vertical tab counts as white space; a full-width space (A1A1) does not.
    EXPECT_EQ(All(R"(<(\s+)>)", "<\t\n\v\f\r >"),
              (std::vector<std::vector<std::string>>{{"<\t\n\v\f\r >", "\t\n\v\f\r "}}));
    EXPECT_EQ(All(R"((\S+))",
                  "a\vb\xA1\xA1"
                  "c"),
              (std::vector<std::vector<std::string>>{{"a", "a"},
                                                     {"b\xA1\xA1"
                                                      "c",
                                                      "b\xA1\xA1"
                                                      "c"}}));
    EXPECT_EQ(All(R"([\s,]+)", "a,\v b"), (std::vector<std::vector<std::string>>{{
                                              ",\v ",
                                          }}));
}

TEST(PatternConventions, EscapedPunctuationIsLiteral)
{
    EXPECT_EQ(All(R"(\<b\>\/\\(.)\.)", R"(<b>/\x. <b>/\y!)"),
              (std::vector<std::vector<std::string>>{{R"(<b>/\x.)", "x"}}));
}

TEST(PatternConventions, GroupTextOutsideTheGroupsIsEmpty)
{
    const Pattern pattern("(a)(x)?(b)");
    ASSERT_EQ(pattern.groupCount(), 3);
    const auto matches = FindAllMatches(pattern, "ab");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(GroupText(matches[0], 0), "");
    EXPECT_EQ(GroupText(matches[0], 1), "a");
    EXPECT_EQ(GroupText(matches[0], 2), "");
    EXPECT_EQ(GroupText(matches[0], 3), "b");
    EXPECT_EQ(GroupText(matches[0], 4), "");
}

TEST(PatternConventions, PatternsNeitherEngineCanRunNeverMatch)
{
    for (const char* bad : {"(a", R"((a)\1)", "a(?=b)"}) {
        const Pattern pattern(bad);
        EXPECT_FALSE(pattern.valid()) << bad;
        EXPECT_EQ(pattern.groupCount(), 0);
        EXPECT_TRUE(FindAllMatches(pattern, "aab").empty());
    }
}

}  // namespace
}  // namespace korvel::test
