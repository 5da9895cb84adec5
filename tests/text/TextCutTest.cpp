#include <gtest/gtest.h>

#include "text/Text.h"

namespace korvel {
namespace {

TEST(LeftRightText, CountBytesAndClampToTheText)
{
    EXPECT_EQ(LeftText("abcdef", 2), "ab");
    EXPECT_EQ(LeftText("abcdef", 0), "");
    EXPECT_EQ(LeftText("abcdef", -1), "");
    EXPECT_EQ(LeftText("abc", 10), "abc");
    EXPECT_EQ(RightText("abcdef", 2), "ef");
    EXPECT_EQ(RightText("abcdef", 0), "");
    EXPECT_EQ(RightText("abcdef", -3), "");
    EXPECT_EQ(RightText("abc", 10), "abc");
    // Byte cuts may split a double-byte character.
    EXPECT_EQ(LeftText("\xB0\xA1z", 1), "\xB0");
    EXPECT_EQ(RightText("z\xB0\xA1", 1), "\xA1");
}

TEST(MidText, TakesBytesFromAOneBasedStart)
{
    EXPECT_EQ(MidText("abcdef", 3, 10), "cdef");
    EXPECT_EQ(MidText("abcdef", 3, 2), "cd");
    EXPECT_EQ(MidText("abcdef", 1, 6), "abcdef");
    EXPECT_EQ(MidText("abcdef", 6, 1), "f");
    EXPECT_EQ(MidText("abcdef", 0, 3), "");
    EXPECT_EQ(MidText("abcdef", -2, 3), "");
    EXPECT_EQ(MidText("abcdef", 7, 1), "");
    EXPECT_EQ(MidText("abcdef", 3, 0), "");
    EXPECT_EQ(MidText("abcdef", 3, -1), "");
    EXPECT_EQ(MidText("", 1, 1), "");
}

TEST(ReplaceText, ReplacesEveryOccurrenceAtCharacterStarts)
{
    EXPECT_EQ(ReplaceText("a-b-c", "-", "+", true), "a+b+c");
    EXPECT_EQ(ReplaceText("aXbxc", "x", "_", false), "a_b_c");
    EXPECT_EQ(ReplaceText("aXbxc", "x", "_", true), "aXb_c");
    EXPECT_EQ(ReplaceText("abc", "", "_", true), "abc");
    EXPECT_EQ(ReplaceText("", "a", "_", true), "");
    // The search goes on behind the replacement, so a replacement holding the sought text is not
    // replaced again.
    EXPECT_EQ(ReplaceText("aa", "a", "aa", true), "aaaa");
    EXPECT_EQ(ReplaceText("aaa", "aa", "b", true), "ba");
    EXPECT_EQ(ReplaceText("\x81J J", "J", "K", true), "\x81J K");
    EXPECT_EQ(ReplaceText("\x81j J", "J", "K", false), "\x81j K");
    // A match ending on a lead byte keeps that character's second half and searches on behind it.
    EXPECT_EQ(ReplaceText("a\xB0"
                          "AA",
                          "a\xB0", "-", true),
              "-AA");
    EXPECT_EQ(ReplaceText("a\xB0"
                          "Aa\xB0"
                          "A",
                          "a\xB0", "-", false),
              "-A-A");
    EXPECT_EQ(ReplaceText("a\xB0"
                          "AA",
                          "A", "-", true),
              "a\xB0"
              "A-");
}

struct SplitCase {
    const char* name;
    std::string text;
    std::string separator;
    std::optional<int> maxPieces;
    std::vector<std::string> expected;
};

void PrintTo(const SplitCase& c, std::ostream* os)
{
    *os << c.name;
}

class SplitTextCases : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTextCases, CutsAtSeparatorsOutsideDoubleByteCharacters)
{
    const SplitCase& c = GetParam();
    EXPECT_EQ(SplitText(c.text, c.separator, c.maxPieces), c.expected);
}

using Pieces = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Text, SplitTextCases,
    testing::Values(
        SplitCase{"InnerEmptyKeptTrailingDropped", "a;;b;", ";", std::nullopt, Pieces{"a", "", "b"}},
        SplitCase{"LeadingEmptyKept", ";a", ";", std::nullopt, Pieces{"", "a"}},
        SplitCase{"OnlyLastEmptyDropped", "a;;", ";", std::nullopt, Pieces{"a", ""}},
        SplitCase{"OnlySeparator", ";", ";", std::nullopt, Pieces{""}},
        SplitCase{"NoSeparator", "abc", ";", std::nullopt, Pieces{"abc"}},
        SplitCase{"EmptyText", "", ";", std::nullopt, Pieces{}},
        SplitCase{"EmptySeparator", "a;b", "", std::nullopt, Pieces{"a;b"}},
        SplitCase{"DefaultSeparatorIsComma", "a,b", ",", std::nullopt, Pieces{"a", "b"}},
        SplitCase{"LongSeparator", "a; b; c", "; ", std::nullopt, Pieces{"a", "b", "c"}},
        SplitCase{"MaxPiecesDropsTheRest", "a;b;c", ";", 2, Pieces{"a", "b"}},
        SplitCase{"MaxPiecesAboveCount", "a;b", ";", 5, Pieces{"a", "b"}},
        SplitCase{"MaxPiecesZero", "a;b", ";", 0, Pieces{}},
        SplitCase{"NegativeMaxIsNoMax", "a;b", ";", -1, Pieces{"a", "b"}},
        SplitCase{"SeparatorIsCaseSensitive", "aXbxc", "x", std::nullopt, Pieces{"aXb", "c"}},
        SplitCase{"TrailByteIsNoSeparator", "\x81\\a\\b", "\\", std::nullopt, Pieces{"\x81\\a", "b"}},
        SplitCase{"DoubleByteSeparator",
                  "a\xA1\xA1"
                  "b",
                  "\xA1\xA1", std::nullopt, Pieces{"a", "b"}}),
    [](const testing::TestParamInfo<SplitCase>& tested) { return tested.param.name; });

TEST(SplitText, DefaultSeparatorIsAComma)
{
    EXPECT_EQ(SplitText("x,y"), (Pieces{"x", "y"}));
}

TEST(BytesToText, StopsAtTheFirstZeroByte)
{
    EXPECT_EQ(BytesToText(std::string("1\0"
                                      "2",
                                      3)),
              "1");
    EXPECT_EQ(BytesToText(std::string("\0"
                                      "2",
                                      2)),
              "");
    EXPECT_EQ(BytesToText("\xB0\xA1"
                          "ab"),
              "\xB0\xA1"
              "ab");
    EXPECT_EQ(BytesToText(""), "");
    EXPECT_EQ(TextToBytes("\xB0\xA1"
                          "a"),
              Bytes("\xB0\xA1"
                    "a"));
    EXPECT_EQ(TextToBytes("").size(), 0u);
}

}  // namespace
}  // namespace korvel
