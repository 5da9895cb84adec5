#include <gtest/gtest.h>

#include <random>

#include "text/Encoding.h"

namespace korvel {
namespace {

using namespace std::string_literals;

// "导入会员数据" in GBK and in UTF-8.
const std::string ImportMembersGbk = "\xb5\xbc\xc8\xeb\xbb\xe1\xd4\xb1\xca\xfd\xbe\xdd";
const std::string ImportMembersUtf8 =
    "\xe5\xaf\xbc\xe5\x85\xa5\xe4\xbc\x9a\xe5\x91\x98\xe6\x95\xb0\xe6\x8d\xae";

TEST(GbkToUtf8, ConvertsAndAppendsOneZeroByte)
{
    EXPECT_EQ(GbkToUtf8(ImportMembersGbk), ImportMembersUtf8 + '\0');
    EXPECT_EQ(GbkToUtf8(ImportMembersGbk).size(), 19u);
    EXPECT_EQ(GbkToUtf8("user=1&name=a b"), "user=1&name=a b\0"s);
    EXPECT_EQ(GbkToUtf8(""), "");
    EXPECT_EQ(GbkToUtf8("\0abc"s), "");
    EXPECT_EQ(GbkToUtf8("ab\0cd"s), "ab\0"s);
    // Code page 936 reads 0x80 as the euro sign.
    EXPECT_EQ(GbkToUtf8("\x80"), "\xe2\x82\xac\0"s);
}

TEST(GbkToUtf8, SubstitutesBadSequencesAndGoesOn)
{
    const std::string replacement = "\xef\xbf\xbd";
    // A lead byte before a byte that cannot follow it: the lead is replaced, the byte read anew.
    EXPECT_EQ(GbkToUtf8("\x81\x30"
                        "z"),
              replacement + "0z" + '\0');
    EXPECT_EQ(GbkToUtf8("\x81\x7f"
                        "z"),
              replacement + "\x7fz" + '\0');
    // A lead byte at the end has no second half.
    EXPECT_EQ(GbkToUtf8("a\xb5"), "a" + replacement + '\0');
    EXPECT_EQ(GbkToUtf8("\xb5\xbc\xb5"
                        "\xbc"),
              "\xe5\xaf\xbc\xe5\xaf\xbc\0"s);
}

TEST(GbkToUtf16, KeepsOrDropsTheTerminator)
{
    EXPECT_EQ(GbkToUtf16("abc"), "a\0b\0c\0\0\0"s);
    EXPECT_EQ(GbkToUtf16("abc", true), "a\0b\0c\0"s);
    EXPECT_EQ(GbkToUtf16(""), "");
    EXPECT_EQ(GbkToUtf16("", true), "");
    EXPECT_EQ(GbkToUtf16("\xb0\xa1"), "\x4a\x55\0\0"s);  // 啊 U+554A
    EXPECT_EQ(GbkToUtf16("\x80", true), "\xac\x20"s);
}

TEST(Utf16ToUtf8, FollowsTheWindowsSizesAndTerminator)
{
    EXPECT_EQ(Utf16ToUtf8("a\0b\0\0\0"s), "ab\0"s);
    EXPECT_EQ(Utf16ToUtf8(""), "");
    // A supplementary character from a surrogate pair; lone surrogates become U+FFFD.
    EXPECT_EQ(Utf16ToUtf8("\x3d\xd8\x00\xde\0\0"s), "\xf0\x9f\x98\x80\0"s);
    EXPECT_EQ(Utf16ToUtf8("\x3d\xd8"
                          "a\0\0\0"s),
              "\xef\xbf\xbd"
              "a\0"s);
    EXPECT_EQ(Utf16ToUtf8("\x00\xde\0\0"s), "\xef\xbf\xbd\0"s);
    // Sized for every unit but converted only up to the first zero unit.
    EXPECT_EQ(Utf16ToUtf8("a\0\0\0b\0\0\0"s), "a\0\0\0"s);
    // No zero unit at all: every unit converted, then terminated; an odd last byte is ignored.
    EXPECT_EQ(Utf16ToUtf8("a\0b\0"s), "ab\0"s);
    EXPECT_EQ(Utf16ToUtf8("a\0b"s), "a\0"s);
}

// The UTF-8 conversion is the fast path of the UTF-16 one; they must never part.
TEST(GbkToUtf8, AgreesWithTheWayThroughUtf16OnRandomBytes)
{
    std::mt19937 random(936);
    for (int round = 0; round < 2000; ++round) {
        std::string gbk;
        for (size_t i = 0, n = random() % 24; i < n; ++i) {
            gbk += static_cast<char>(1 + random() % 255);
        }
        ASSERT_EQ(GbkToUtf8(gbk), Utf16ToUtf8(GbkToUtf16(gbk))) << testing::PrintToString(gbk);
    }
}

}  // namespace
}  // namespace korvel
