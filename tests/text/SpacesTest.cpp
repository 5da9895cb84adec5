// Spaces are 0x20 and the full-width A1 A1, the latter only at a character start.

#include <gtest/gtest.h>

#include "text/Text.h"

namespace korvel {
namespace {

TEST(TrimSpaces, RemovesBothKindsAtTheEdgesOnly)
{
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("\xA1\xA1 a\xA1\xA1"
                         "b \xA1\xA1"),
              "a\xA1\xA1"
              "b");
    EXPECT_EQ(TrimSpaces("\ta\r\n"), "\ta\r\n");
    EXPECT_EQ(TrimSpaces(" \ta"), "\ta");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(TrimSpaces("\xA1\xA1"), "");
    EXPECT_EQ(TrimSpaces(""), "");
    // After B0 A1 the bytes A1 A1 are a full-width space; in C1 A1, A1 C1 they straddle two
    // characters and are none.
    EXPECT_EQ(TrimSpaces("\xB0\xA1\xA1\xA1 "), "\xB0\xA1");
    EXPECT_EQ(TrimSpaces("\xC1\xA1\xA1\xC1 "), "\xC1\xA1\xA1\xC1");
    // The second half of a character that reads as a space (81 20) is not trimmed.
    EXPECT_EQ(TrimSpaces("a\x81 "), "a\x81 ");
    // A lone lead byte at the end is kept.
    EXPECT_EQ(TrimSpaces(" a\xB0"), "a\xB0");
}

TEST(DeleteSpaces, RemovesEverySpaceAtCharacterStarts)
{
    EXPECT_EQ(DeleteSpaces("a b\xA1\xA1"
                           "c"),
              "abc");
    EXPECT_EQ(DeleteSpaces(" a \t b "), "a\tb");
    EXPECT_EQ(DeleteSpaces("\xB0\xA1\xA1\xA1"
                           "x"),
              "\xB0\xA1"
              "x");
    EXPECT_EQ(DeleteSpaces("\xC1\xA1\xA1\xC1"), "\xC1\xA1\xA1\xC1");
    EXPECT_EQ(DeleteSpaces("\x81 x"), "\x81 x");
    EXPECT_EQ(DeleteSpaces(""), "");
}

TEST(ToLowerAscii, FoldsSingleByteLettersOnly)
{
    EXPECT_EQ(ToLowerAscii("AbC-XyZ@[`"), "abc-xyz@[`");
    // 81 4A is one character; its second byte is not the letter J.
    EXPECT_EQ(ToLowerAscii("\x81JJ"), "\x81Jj");
    EXPECT_EQ(ToLowerAscii("\xC1\xCA"), "\xC1\xCA");
    EXPECT_EQ(ToLowerAscii(""), "");
}

}  // namespace
}  // namespace korvel
