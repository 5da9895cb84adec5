#include <gtest/gtest.h>

#include <set>

#include "text/Gbk.h"

namespace korvel {
namespace {

using namespace std::string_literals;

struct Mapping {
    std::string gbk;
    std::u16string unicode;
};

// Characters whose code page 936 form is known from the Windows table, the edges of each range
// and the two single bytes that are not ASCII among them.
const Mapping Known[] = {
    {"\x80", u"\u20AC"},          {"\xFF", u"\uF8F5"},          {"\xA1\xA1", u"\u3000"},
    {"\xA1\xA4", u"\u00B7"},      {"\xB0\xA1", u"\u554A"},      {"\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},
    {"\x81\x40", u"\u4E02"},      {"\xFE\x40", u"\uFA0C"},      {"\xA3\xA4", u"\uFFE5"},
    {"\xAA\xA1", u"\uE000"},      {"\xA1\xEA", u"\uFFE1"},      {"a\xB5\xBC" "b", u"a\u5BFCb"},
    {"\xA3\xA1\xA3\xBF", u"\uFF01\uFF1F"},
};

TEST(GbkCodec, KnownCharactersConvertBothWays)
{
    for (const Mapping& m : Known) {
        EXPECT_EQ(gbk::ToUtf16(m.gbk), m.unicode) << testing::PrintToString(m.gbk);
        EXPECT_EQ(gbk::FromUtf16(m.unicode), m.gbk) << testing::PrintToString(m.gbk);
        EXPECT_EQ(gbk::FromUtf8(gbk::ToUtf8(m.gbk)), m.gbk) << testing::PrintToString(m.gbk);
    }
}

// Every double-byte character is one distinct character that encodes back to its own bytes, so
// no GBK text is changed by a trip through Unicode.
TEST(GbkCodec, EveryDoubleByteCharacterMakesTheRoundTrip)
{
    std::set<char16_t> seen;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F)
                continue;
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string unicode = gbk::ToUtf16(pair);
            ASSERT_EQ(unicode.size(), 1u) << std::hex << lead << trail;
            ASSERT_NE(unicode[0], u'\uFFFD') << std::hex << lead << trail;
            ASSERT_TRUE(seen.insert(unicode[0]).second) << std::hex << lead << trail;
            ASSERT_EQ(gbk::FromUtf16(unicode), pair) << std::hex << lead << trail;
        }
    }
    EXPECT_EQ(seen.size(), 126u * 190u);
}

TEST(GbkCodec, BytesThatBeginNoCharacterBecomeReplacementsAndTheNextIsReadAgain)
{
    const struct {
        std::string gbk;
        std::u16string unicode;
    } cases[] = {
        {"a\xB5", u"a\uFFFD"},              // a lead byte last
        {"\x81\x30z", u"\uFFFD0z"},         // a lead byte before ASCII
        {"\x81\x7F", u"\uFFFD\x7F"},        // 0x7F is never a trail
        {"\x81\xFF", u"\uFFFD\uF8F5"},      // nor is 0xFF
        {"\x81 \xB5\xBC", u"\uFFFD \u5BFC"},  // and the character after it is whole
        {"\0\xB5\xBC"s, u"\0\u5BFC"s},      // a zero byte is a character like any other
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gbk::ToUtf16(c.gbk), c.unicode) << testing::PrintToString(c.gbk);
    }
    EXPECT_EQ(gbk::ToUtf8("\x81\x30"), "\xEF\xBF\xBD"
                                       "0");
}

TEST(GbkCodec, WhatGbkCannotHoldBecomesOneQuestionMarkEach)
{
    EXPECT_EQ(gbk::FromUtf16(u"a\u30FBb"), "a?b");                    // a character GBK lacks
    EXPECT_EQ(gbk::FromUtf16(u"\U0001F600\u4E2D"), "?\xD6\xD0");      // beyond the BMP: one "?"
    EXPECT_EQ(gbk::FromUtf16(u"\xD83D" "a" u"\xDE00"), "?a?");        // lone surrogates
    EXPECT_EQ(gbk::FromUtf16(u"\uFFFD"), "?");
    const struct {
        std::string utf8;
        std::string gbk;
    } cases[] = {
        {"\xE4\xB8\xAD", "\xD6\xD0"},         // 中
        {"\xF0\x9F\x98\x80", "?"},            // beyond the BMP
        {"\xC0\x80", "??"},                   // an overlong zero
        {"\xE0\x80\x80", "???"},              // an overlong form: no valid prefix
        {"\xED\xA0\x80", "???"},              // a surrogate written as UTF-8
        {"\xE4\xB8", "?"},                    // cut short: one "?" for the prefix
        {"\xE4\xB8z", "?z"},                  // and the next character kept
        {"\xF4\x90\x80\x80", "????"},         // beyond U+10FFFF
        {"\xFF\xFEz", "??z"},                 // bytes that never start UTF-8
        {"a\0b"s, "a\0b"s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gbk::FromUtf8(c.utf8), c.gbk) << testing::PrintToString(c.utf8);
    }
}

}  // namespace
}  // namespace korvel
