#pragma once

// Helpers for the pattern tests: GBK text from readable UTF-8, and the two engines side by side.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collect/Pattern.h"
#include "support/LocalServer.h"
#include "support/TestGbk.h"

namespace korvel::test {

inline std::string ShopFixture(const std::string& name)
{
    // Lossy on purpose: the browser-saved pages hold a few characters GBK lacks, which become "?".
    return gbk::FromUtf8(ReadFile(FixturesDir() + "/real-shop-pages/" + name));
}

inline std::vector<std::vector<std::string>> Groups(const std::vector<Match>& matches)
{
    std::vector<std::vector<std::string>> out;
    for (const Match& m : matches)
        out.push_back(m.groups);
    return out;
}

// The matches with groups[0] filled in from each match's span, so tests can read the whole match.
inline std::vector<Match> WithWholeMatch(std::vector<Match> matches, const std::string& subject)
{
    for (Match& m : matches) {
        EXPECT_TRUE(m.groups[0].empty());
        m.groups[0] = subject.substr(m.start, m.end - m.start);
    }
    return matches;
}

// The matches of a search, after checking that RE2 alone finds exactly the same groups.
inline std::vector<Match> BothEngines(const Pattern& pattern, const std::string& gbk)
{
    auto pcre2 = WithWholeMatch(FindAllMatches(pattern, gbk), gbk);
    const auto re2 = WithWholeMatch(FindAllMatches(pattern, gbk, nullptr, SearchEngine::Re2), gbk);
    EXPECT_EQ(Groups(pcre2), Groups(re2));
    return pcre2;
}

}  // namespace korvel::test
