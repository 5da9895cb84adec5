#pragma once

// Regular expressions over GBK texts, matched on decoded characters: a double-byte character is
// one character, and every group comes back as the original GBK bytes of its span.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// One match: groups[0] is the whole match, groups[k] the text of group k (empty when it did not
// take part).
struct Match {
    std::vector<std::string> groups;
};

// A pattern compiled with Korvel's fixed options: the dot matches line breaks, letter case counts,
// ^ and $ work per line. Compiled once, used for any number of subjects.
class Pattern {
public:
    // An invalid pattern compiles to one that never matches; valid() tells.
    explicit Pattern(std::string_view gbkPattern);
    ~Pattern();
    Pattern(Pattern&&) noexcept;
    Pattern& operator=(Pattern&&) noexcept;

    bool valid() const;
    int groupCount() const;

    struct Impl;
    const Impl& impl() const { return *impl_; }

private:
    std::unique_ptr<Impl> impl_;
};

// Every leftmost match in text order, each search starting where the previous match ended.
std::vector<Match> FindAllMatches(const Pattern& pattern, std::string_view gbkText);
// Group k of the match; empty for k = 0 or k beyond the pattern's groups.
std::string GroupText(const Match& match, int k);

}  // namespace korvel
