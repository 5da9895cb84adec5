// Subjects of a megabyte and more are searched from both ends at once; the result must be exactly
// that of one search after another, even where matches run across the middle.

#include <random>

#include "PatternTestSupport.h"

namespace korvel::test {
namespace {

// Leftmost-first matches of <a>(.*?)</a>, by plain string search: the reference.
std::vector<std::string> ReferenceGroups(const std::string& text)
{
    std::vector<std::string> out;
    for (std::size_t at = text.find("<a>"); at != std::string::npos; at = text.find("<a>", at)) {
        const std::size_t close = text.find("</a>", at + 3);
        if (close == std::string::npos)
            break;
        out.push_back(text.substr(at + 3, close - at - 3));
        at = close + 4;
    }
    return out;
}

std::string LargeSubject(unsigned seed, std::size_t bytes)
{
    std::mt19937 random(seed);
    std::string text;
    while (text.size() < bytes) {
        // Now and then an entry is left open, so a match swallows the next one, possibly across
        // the middle; double-byte characters keep the two decodings apart from plain offsets.
        const bool open = random() % 50 == 0;
        text += "<a>" + std::to_string(random()) + "\xC7\xEF" + (open ? "" : "</a>") + " \xB6\xAC ";
    }
    return text;
}

TEST(PatternLargeSubject, SplitSearchEqualsOneChain)
{
    const Pattern pattern("<a>(.*?)</a>");
    // 1.5 MB: split search; 4.5 MB: the text is converted in two halves as well.
    for (unsigned seed : {1u, 2u, 3u}) {
        const std::string text = LargeSubject(seed, seed == 3 ? (9u << 20) / 2 : (3u << 20) / 2);
        std::vector<std::string> groups;
        for (const Match& m : FindAllMatches(pattern, text))
            groups.push_back(GroupText(m, 1));
        EXPECT_EQ(groups, ReferenceGroups(text)) << "seed " << seed;
    }
}

TEST(PatternLargeSubject, MatchSpansPointIntoTheSubject)
{
    const Pattern pattern("<a>(.*?)</a>");
    const std::string text = LargeSubject(7, (3u << 20) / 2) + std::string("\xFF");
    const auto matches = FindAllMatches(pattern, text);
    ASSERT_FALSE(matches.empty());
    for (const Match& m : matches) {
        ASSERT_LT(m.start, m.end);
        EXPECT_EQ(text.substr(m.start, m.end - m.start), "<a>" + GroupText(m, 1) + "</a>");
    }
}

}  // namespace
}  // namespace korvel::test
