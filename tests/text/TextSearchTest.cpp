// Searches start matches only where a character begins; the second byte of a double-byte
// character (0x40..0xFE, often an ASCII letter) is never a candidate.

#include <gtest/gtest.h>

#include <random>

#include "text/Text.h"

namespace korvel {
namespace {

struct FindCase {
    const char* name;
    std::string text;
    std::string sought;
    int start;
    bool ignoreCase;
    int expected;
};

void PrintTo(const FindCase& c, std::ostream* os)
{
    *os << c.name;
}

class FindTextCases : public testing::TestWithParam<FindCase> {};

TEST_P(FindTextCases, FindsFirstOccurrenceAtACharacterStart)
{
    const FindCase& c = GetParam();
    EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Text, FindTextCases,
    testing::Values(FindCase{"Found", "ab", "b", 1, false, 2}, FindCase{"Missing", "ab", "x", 1, false, -1},
                    FindCase{"EmptySought", "ab", "", 1, false, 1},
                    FindCase{"EmptyText", "", "a", 1, false, -1}, FindCase{"EmptyBoth", "", "", 1, false, -1},
                    FindCase{"IgnoreCase", "abc", "C", 1, true, 3},
                    FindCase{"CaseMatters", "abc", "C", 1, false, -1},
                    FindCase{"FullWidthSpaceAfterChar", "\xB0\xA1\xA1\xA1", "\xA1\xA1", 1, false, 3},
                    FindCase{"TrailLooksLikeLetter", "\x81J_TItems", "J_TItems", 1, false, -1},
                    FindCase{"TrailLooksLikeLetterIgnoreCase", "\x81J", "j", 1, true, -1},
                    FindCase{"TrailNeverFolded", "\x81J", "\x81j", 1, true, -1},
                    FindCase{"LeadFollowedByFoldedLetter", "\x81JA", "\x81Ja", 1, true, 1},
                    FindCase{"TrailSkippedThenRealHit", "\x81J J", "J", 1, false, 4},
                    FindCase{"MatchMayEndInsideChar", "a\xB0\xA1", "a\xB0", 1, false, 1},
                    FindCase{"StartSkipsEarlierHit", "abab", "ab", 2, false, 3},
                    FindCase{"StartBelowOneMeansOne", "ab", "a", -5, false, 1},
                    FindCase{"StartAtLastByte", "ab", "b", 2, false, 2},
                    FindCase{"StartBeyondEnd", "ab", "b", 3, false, -1},
                    FindCase{"StartOnTrailIsNoCandidate", "\x81Jx", "J", 2, false, -1},
                    FindCase{"StartOnTrailMovesToNextChar", "\x81JxJ", "J", 2, false, 4},
                    FindCase{"StartBehindRunOfDoubleBytes", "\xB0\xA1\xB0\xA1J", "J", 5, false, 5},
                    FindCase{"SoughtLongerThanRest", "abc", "bcd", 1, false, -1},
                    FindCase{"EmptySoughtFromLaterStart", "abc", "", 2, false, 1}),
    [](const testing::TestParamInfo<FindCase>& tested) { return tested.param.name; });

TEST(FindTextReverse, ReturnsLastOccurrenceAtACharacterStart)
{
    EXPECT_EQ(FindTextReverse("host:80:90", ":"), 8);
    EXPECT_EQ(FindTextReverse("host", ":"), -1);
    EXPECT_EQ(FindTextReverse("", ":"), -1);
    EXPECT_EQ(FindTextReverse("ab", ""), 1);
    EXPECT_EQ(FindTextReverse("aaa", "aa"), 2);
    EXPECT_EQ(FindTextReverse("xAbxaB", "ab", true), 5);
    EXPECT_EQ(FindTextReverse("xAbxaB", "ab", false), -1);
    // The last raw "J" is the second half of 81 4A, so the earlier one wins.
    EXPECT_EQ(FindTextReverse("J\x81J", "J"), 1);
    EXPECT_EQ(FindTextReverse("\xB0\xA1\xA1\xA1\xA1", "\xA1\xA1"), 3);
}

// The plain rule, checked position by position, against the fast search on random texts made
// of bytes that trip byte-level searching: leads, trails that look like letters, both spaces.
int ReferenceFind(const std::string& text, const std::string& sought, int start, bool ignoreCase, bool last)
{
    auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    int found = -1;
    bool trail = false;
    for (size_t at = 0; at < text.size(); ++at) {
        const bool candidate = !trail && static_cast<int>(at) + 1 >= std::max(start, 1);
        trail = !trail && static_cast<unsigned char>(text[at]) >= 0x80;
        if (!candidate || at + sought.size() > text.size()) {
            continue;
        }
        bool same = true;
        bool secondHalf = false;
        for (size_t i = 0; i < sought.size() && same; ++i) {
            const char have = text[at + i];
            same = (ignoreCase && !secondHalf) ? fold(have) == fold(sought[i]) : have == sought[i];
            secondHalf = !secondHalf && static_cast<unsigned char>(have) >= 0x80;
        }
        if (same) {
            found = static_cast<int>(at) + 1;
            if (!last) {
                return found;
            }
        }
    }
    return found;
}

TEST(FindText, AgreesWithThePlainRuleOnRandomTexts)
{
    const std::string alphabet = "aAjJ \\\x81\xA1\xB0";
    std::mt19937 random(7);
    auto make = [&](size_t length) {
        std::string text;
        for (size_t i = 0; i < length; ++i) {
            text += alphabet[random() % alphabet.size()];
        }
        return text;
    };
    for (int round = 0; round < 3000; ++round) {
        const std::string text = make(random() % 12);
        const std::string sought = make(1 + random() % 3);
        const bool ignoreCase = random() % 2 == 0;
        for (int start = 0; start <= static_cast<int>(text.size()) + 1; ++start) {
            ASSERT_EQ(FindText(text, sought, start, ignoreCase),
                      ReferenceFind(text, sought, start, ignoreCase, false))
                << testing::PrintToString(text) << " " << testing::PrintToString(sought) << " from " << start;
        }
        ASSERT_EQ(FindTextReverse(text, sought, ignoreCase), ReferenceFind(text, sought, 1, ignoreCase, true))
            << testing::PrintToString(text) << " " << testing::PrintToString(sought);
    }
}

}  // namespace
}  // namespace korvel
