#include "MatchChecks.h"

#include <map>
#include <memory>

#include "FuzzSupport.h"
#include "collect/GbkDecode.h"

namespace korvel::fuzz {
namespace {

// 中 zero times: a literal beyond ASCII that never takes part in a match.
constexpr char kNeverUsed[] = "(?:\xD6\xD0){0}";

bool Same(const std::vector<Match>& a, const std::vector<Match>& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].start != b[k].start || a[k].end != b[k].end || a[k].groups != b[k].groups)
            return false;
    }
    return true;
}

std::size_t NextCharacter(std::string_view utf8, std::size_t u)
{
    do
        ++u;
    while (u < utf8.size() && (static_cast<unsigned char>(utf8[u]) & 0xC0) == 0x80);
    return u;
}

// True when GBK offset g begins a decoded character or ends the text. The GBK offset rises with
// the UTF-8 offset, so a binary search over the character starts finds the first one at or past g.
bool IsBoundary(const DecodedGbk& decoded, std::size_t g)
{
    const std::string_view utf8 = decoded.utf8();
    std::size_t low = 0, high = utf8.size();
    while (low < high) {
        std::size_t mid = low + (high - low) / 2;
        while (mid > low && (static_cast<unsigned char>(utf8[mid]) & 0xC0) == 0x80)
            --mid;
        if (decoded.gbkOffset(mid) >= g)
            high = mid;
        else
            low = NextCharacter(utf8, mid);
    }
    return decoded.gbkOffset(high) == g;
}

void CheckSpans(const std::vector<Match>& matches, std::string_view gbk, int groups)
{
    const DecodedGbk decoded(gbk);
    Require(IsValidUtf8(decoded.utf8()), "a decoded subject is valid UTF-8");
    std::size_t previousEnd = 0;
    for (const Match& m : matches) {
        Require(previousEnd <= m.start && m.start <= m.end && m.end <= gbk.size(),
                "matches follow in text order");
        Require(IsBoundary(decoded, m.start) && IsBoundary(decoded, m.end),
                "a match begins and ends on characters");
        Require(m.groups.size() == static_cast<std::size_t>(groups) + 1 && m.groups[0].empty(),
                "a match carries every group and no copy of itself");
        const std::string_view whole = gbk.substr(m.start, m.end - m.start);
        for (const std::string& group : m.groups)
            Require(whole.find(group) != std::string_view::npos, "a group lies inside its match");
        previousEnd = m.end;
    }
}

}  // namespace

PatternPair::PatternPair(const std::string& gbkPattern) : pattern(gbkPattern), twin(kNeverUsed + gbkPattern)
{
    Require(pattern.valid() && twin.valid() && pattern.groupCount() == twin.groupCount(),
            "a fixed pattern and its twin compile alike");
}

std::vector<Match> CheckedMatches(const PatternPair& pair, std::string_view gbk)
{
    std::vector<Match> matches = FindAllMatches(pair.pattern, gbk);
    Require(Same(matches, FindAllMatches(pair.pattern, gbk, nullptr, SearchEngine::Re2)),
            "PCRE2 and RE2 find the same matches");
    Require(Same(matches, FindAllMatches(pair.twin, gbk)),
            "the same-length form finds what the decoded form finds");
    CheckSpans(matches, gbk, pair.pattern.groupCount());
    return matches;
}

const PatternPair& FixedPair(const std::string& gbkPattern)
{
    static std::map<std::string, std::unique_ptr<PatternPair>> compiled;
    auto& pair = compiled[gbkPattern];
    if (!pair)
        pair = std::make_unique<PatternPair>(gbkPattern);
    return *pair;
}

}  // namespace korvel::fuzz
