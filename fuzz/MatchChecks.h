#pragma once

// Searches run three ways and held to one answer: PCRE2 (handing over to RE2 when it gives up),
// RE2 alone, and a twin of the pattern with a non-ASCII literal that matches the same, which makes
// the search decode the subject in full where the pattern alone takes the same-length shortcut.

#include <string>
#include <string_view>
#include <vector>

#include "collect/Pattern.h"

namespace korvel::fuzz {

struct PatternPair {
    explicit PatternPair(const std::string& gbkPattern);
    Pattern pattern;
    Pattern twin;
};

// The matches, after checking that all three searches agree, that they are valid spans of the
// subject in text order beginning and ending on characters, and that every group lies in its match.
std::vector<Match> CheckedMatches(const PatternPair& pair, std::string_view gbk);

// The pair for one of the fixed pattern texts, compiled once.
const PatternPair& FixedPair(const std::string& gbkPattern);

}  // namespace korvel::fuzz
