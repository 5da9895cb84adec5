#pragma once

// Regular expressions over GBK texts, matched on decoded characters: a double-byte character is
// one character, and every group comes back as the original GBK bytes of its span.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// One match: groups[k] is the text of group k (empty when it did not take part). groups[0] stays
// empty: nothing needs the whole match's text, and copying it doubled the bytes a search moves;
// [start, end) is its byte span in the subject instead.
struct Match {
    std::vector<std::string> groups;
    std::size_t start = 0;
    std::size_t end = 0;
};

// A pattern compiled with Korvel's fixed options (PatternOptions): the dot matches line breaks,
// letter case counts, ^ and $ work per line; \s is one of tab, line feed, vertical tab, form feed,
// carriage return, space. Compiled once, used for any number of subjects.
//
// Searches run on PCRE2's JIT. Lazy gaps can backtrack without end when a piece of an entry is
// missing; when PCRE2 gives up on a limit, RE2 (linear time, the same leftmost-first results)
// finishes the search, so a result is never cut short.
class Pattern {
public:
    // A pattern either engine rejects compiles to one that never matches; valid() tells.
    explicit Pattern(std::string_view gbkPattern);
    ~Pattern();
    Pattern(Pattern&&) noexcept;
    Pattern& operator=(Pattern&&) noexcept;

    [[nodiscard]] bool valid() const;
    int groupCount() const;

    struct Impl;
    const Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

// How a search went, for those who watch the engines.
struct MatchStats {
    // PCRE2 reached a limit and RE2 finished the search.
    bool usedFallback = false;
};

// The engine a search starts on. Korvel always starts on PCRE2; starting on RE2 lets tests and
// benchmarks hold the two side by side.
enum class SearchEngine { Pcre2, Re2 };

// Every leftmost match in text order, each search starting where the previous match ended (one
// character further after an empty match).
std::vector<Match> FindAllMatches(const Pattern& pattern, std::string_view gbkText,
                                  MatchStats* stats = nullptr, SearchEngine engine = SearchEngine::Pcre2);
// Group k of the match; empty for k = 0 or k beyond the pattern's groups.
std::string GroupText(const Match& match, int k);

}  // namespace korvel
