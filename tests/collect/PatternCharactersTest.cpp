// Matching on decoded GBK characters: what a character is, and that groups are the page's bytes.

#include "PatternTestSupport.h"

namespace korvel::test {
namespace {

std::vector<std::string> Group1(const std::string& pattern, const std::string& gbk)
{
    std::vector<std::string> out;
    for (const Match& m : BothEngines(Pattern(pattern), gbk))
        out.push_back(GroupText(m, 1));
    return out;
}

TEST(PatternCharacters, TrailByteNeverMatchesALiteral)
{
    // 0x81 0x5C, 0x81 0x7C, 0x81 0x4A: double-byte characters whose second byte is "\", "|", "J".
    const std::string text =
        "a\x81\x5C"
        "b|c\x81\x7C"
        "d\\e\x81\x4A_TItems J_TItems";
    EXPECT_EQ(Group1(R"((.)\\)", text), std::vector<std::string>{"d"});
    EXPECT_EQ(Group1(R"((.)\|)", text), std::vector<std::string>{"b"});
    EXPECT_EQ(Group1(R"((\S)_TItems)", text), (std::vector<std::string>{"\x81\x4A", "J"}));
}

TEST(PatternCharacters, DoubleByteCharacterIsOneCharacter)
{
    // 秋冬 then 新: the dot takes whole characters, so three dots end exactly before "!".
    const std::string text = "<\xC7\xEF\xB6\xAC\xD0\xC2!";
    EXPECT_EQ(Group1("<(...)!", text), std::vector<std::string>{"\xC7\xEF\xB6\xAC\xD0\xC2"});
    EXPECT_TRUE(Group1("<(......)!", text).empty());
}

TEST(PatternCharacters, InvalidBytesComeBackByteExact)
{
    // 0xFF, a lead byte before "<" (no trail), a lead byte at the very end; 0x80 is the euro sign.
    const std::string text = std::string("[\xFF]", 3) + "[\x81<]" + "[\x80]" + "[\xC7\xEF]";
    EXPECT_EQ(Group1(R"(\[(.*?)\])", text), (std::vector<std::string>{"\xFF", "\x81<", "\x80", "\xC7\xEF"}));
    // The byte after a lone lead byte is a character of its own and can match.
    EXPECT_EQ(Group1("(.)<", text), std::vector<std::string>{"\x81"});
    // Each invalid byte is one character; a lead byte before "]" (a valid trail) is not invalid.
    EXPECT_EQ(Group1(R"(\[(.)(.)\])", "[\xFF\xFF][\x81 ]"), (std::vector<std::string>{"\xFF", "\x81"}));
    EXPECT_EQ(Group1(R"(\[(.)\])", "[\xB6]]"), std::vector<std::string>{"\xB6]"});
    EXPECT_EQ(Group1("(.)$", std::string("x\xC7")), std::vector<std::string>{"\xC7"});
}

TEST(PatternCharacters, GroupsMapBackAcrossLongMixedText)
{
    // Long runs of ASCII and double-byte text, so group edges fall everywhere between the
    // decoder's offset marks.
    std::string text;
    std::vector<std::string> expected;
    for (int i = 0; i < 300; ++i) {
        std::string word(static_cast<std::size_t>(i % 23), 'a' + i % 26);
        for (int k = 0; k < i % 7; ++k)
            word += "\xC7\xEF\x80";
        if (i % 11 == 0)
            word += "\xFF";
        text += "<" + word + ">" + std::string(static_cast<std::size_t>(i % 5), ' ') + "\xB0\xFC";
        expected.push_back(word);
    }
    EXPECT_EQ(Group1("<(.*?)>", text), expected);
}

TEST(PatternCharacters, AsciiPatternsGiveTheSameGroupsOnEitherDecoding)
{
    // An ASCII-only pattern is matched on a same-length form of the text; a single stray byte of
    // 0x80 or above anywhere forces the full decoding. Both must cut the very same groups.
    const std::string entry = "<dl item data-id=\"7\"><b>\xC7\xEF\xB6\xAC \xD0\xC2</b>.</dl>";
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += entry + std::string(static_cast<std::size_t>(i % 3), '\n') + "\xB0\xFC";
    const Pattern pattern(R"(data-id=.(\d+).>.*?<b>(.*?)</b>(.))");
    const auto clean = Groups(BothEngines(pattern, text));
    const auto stray = Groups(BothEngines(pattern, text + "\xFF"));
    ASSERT_EQ(clean.size(), 40u);
    EXPECT_EQ(clean, stray);
    EXPECT_EQ(clean[5][2], "\xC7\xEF\xB6\xAC \xD0\xC2");
}

TEST(PatternCharacters, PatternTextIsGbkToo)
{
    // The pattern 已售：(\d+) written in GBK finds the GBK text.
    const std::string pattern = "\xD2\xD1\xCA\xDB\xA3\xBA(\\d+)";
    EXPECT_EQ(Group1(pattern,
                     "\xD2\xD1\xCA\xDB\xA3\xBA"
                     "42\xBC\xFE"),
              std::vector<std::string>{"42"});
}

}  // namespace
}  // namespace korvel::test
