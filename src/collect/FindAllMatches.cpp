#include <algorithm>
#include <future>
#include <iterator>
#include <limits>
#include <thread>
#include <utility>

#include "collect/GbkDecode.h"
#include "collect/Pattern.h"
#include "collect/PatternImpl.h"

namespace korvel {
namespace {

constexpr std::size_t kUnset = std::numeric_limits<std::size_t>::max();
using Spans = std::vector<std::pair<std::size_t, std::size_t>>;  // UTF-8 offsets per group

enum class Outcome { Found, None, GaveUp };

// PCRE2 may spend at least this many steps before handing a search to RE2 ...
constexpr uint32_t kMinMatchLimit = 20'000;
// ... and at most PCRE2's own default.
constexpr uint32_t kMaxMatchLimit = 10'000'000;

// The match limit for a search over `remaining` UTF-8 bytes. RE2 answers in time linear in what
// is left, so PCRE2 gets a budget of the same order (a quarter of a step per byte, measured at
// about 1.4 ns a step): an ordinary entry needs a few steps per character of its own, far below
// it, and a page that sends the lazy gaps into endless backtracking wastes only a fraction of
// what RE2 then needs before RE2 takes over.
uint32_t MatchLimitFor(std::size_t remaining)
{
    return static_cast<uint32_t>(std::clamp<std::size_t>(remaining / 4, kMinMatchLimit, kMaxMatchLimit));
}

pcre2_jit_stack* ThreadJitStack()
{
    struct Holder {
        pcre2_jit_stack* stack = pcre2_jit_stack_create(32 << 10, 8 << 20, nullptr);
        ~Holder() { pcre2_jit_stack_free(stack); }
    };
    thread_local Holder holder;
    return holder.stack;
}

class Searcher {
public:
    Searcher(const Pattern::Impl& p, std::string_view utf8) : p_(p), text_(utf8)
    {
        data_ = pcre2_match_data_create_from_pattern(p.pcre2, nullptr);
        context_ = pcre2_match_context_create(nullptr);
        pcre2_jit_stack_assign(context_, nullptr, ThreadJitStack());
        pieces_.resize(p.groups + 1);
    }
    ~Searcher()
    {
        pcre2_match_context_free(context_);
        pcre2_match_data_free(data_);
    }
    Searcher(const Searcher&) = delete;
    Searcher& operator=(const Searcher&) = delete;

    Outcome pcre2(std::size_t start, Spans& spans)
    {
        pcre2_set_match_limit(context_, MatchLimitFor(text_.size() - start));
        const int rc = pcre2_match(p_.pcre2, reinterpret_cast<PCRE2_SPTR>(text_.data()), text_.size(), start,
                                   PCRE2_NO_UTF_CHECK, data_, context_);
        if (rc == PCRE2_ERROR_NOMATCH)
            return Outcome::None;
        // Match, depth, heap and JIT stack limits, or memory: RE2 answers instead.
        if (rc < 0)
            return Outcome::GaveUp;
        const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data_);
        const int pairs = static_cast<int>(pcre2_get_ovector_count(data_));
        for (int k = 0; k <= p_.groups; ++k) {
            const bool set = k < rc && k < pairs && ov[2 * k] != PCRE2_UNSET;
            spans[k] = set ? std::pair{ov[2 * k], ov[2 * k + 1]} : std::pair{kUnset, kUnset};
        }
        return Outcome::Found;
    }

    Outcome re2(std::size_t start, Spans& spans)
    {
        if (!p_.re2->Match(text_, start, text_.size(), RE2::UNANCHORED, pieces_.data(),
                           static_cast<int>(pieces_.size())))
            return Outcome::None;
        for (std::size_t k = 0; k < pieces_.size(); ++k) {
            const auto& piece = pieces_[k];
            const auto from = static_cast<std::size_t>(piece.data() - text_.data());
            spans[k] = piece.data() ? std::pair{from, from + piece.size()} : std::pair{kUnset, kUnset};
        }
        return Outcome::Found;
    }

private:
    const Pattern::Impl& p_;
    std::string_view text_;
    pcre2_match_data* data_;
    pcre2_match_context* context_;
    std::vector<re2::StringPiece> pieces_;
};

Match ToMatch(const DecodedGbk& decoded, const Spans& spans)
{
    Match match;
    match.groups.resize(spans.size());
    match.start = decoded.gbkOffset(spans[0].first);
    match.end = decoded.gbkOffset(spans[0].second);
    for (std::size_t k = 1; k < spans.size(); ++k) {
        if (spans[k].first == kUnset)
            continue;
        const std::size_t from = decoded.gbkOffset(spans[k].first);
        match.groups[k].assign(decoded.gbk().substr(from, decoded.gbkOffset(spans[k].second) - from));
    }
    return match;
}

// Where the next search starts: the end of the match, one character further for an empty match
// so the search always moves on.
std::size_t NextStart(std::string_view utf8, const Spans& spans)
{
    const auto [from, to] = spans[0];
    if (to != from || to >= utf8.size())
        return to == from ? to + 1 : to;
    const auto lead = static_cast<unsigned char>(utf8[to]);
    return to + (lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4);
}

// One chain of searches, each starting where the previous match ended.
class Chain {
public:
    Chain(const Pattern& pattern, const DecodedGbk& decoded, SearchEngine engine)
        : decoded_(decoded),
          searcher_(pattern.impl(), decoded.utf8()),
          spans_(pattern.groupCount() + 1),
          engine_(engine)
    {
    }

    // The next match from `start` on, moving `start` past it; false when there is none.
    bool next(std::size_t& start, Match& match)
    {
        const std::string_view utf8 = decoded_.utf8();
        while (start <= utf8.size()) {
            const Outcome outcome = engine_ == SearchEngine::Pcre2 ? searcher_.pcre2(start, spans_)
                                                                   : searcher_.re2(start, spans_);
            if (outcome == Outcome::None)
                return false;
            if (outcome == Outcome::GaveUp) {
                // The same search again, from the same place, in linear time.
                engine_ = SearchEngine::Re2;
                usedFallback_ = true;
                continue;
            }
            match = ToMatch(decoded_, spans_);
            start = NextStart(utf8, spans_);
            return true;
        }
        return false;
    }

    std::vector<Match> rest(std::size_t start)
    {
        std::vector<Match> out;
        for (Match m; next(start, m);)
            out.push_back(std::move(m));
        return out;
    }

    bool usedFallback() const { return usedFallback_; }

private:
    const DecodedGbk& decoded_;
    Searcher searcher_;
    Spans spans_;
    SearchEngine engine_;
    bool usedFallback_ = false;
};

// Below this a second thread costs more than it saves.
constexpr std::size_t kSplitBytes = 1 << 20;

std::size_t CharStartAtOrAfter(std::string_view utf8, std::size_t at)
{
    while (at < utf8.size() && (static_cast<unsigned char>(utf8[at]) & 0xC0) == 0x80)
        ++at;
    return at;
}

// A large subject is searched from both ends at once: a second chain starts in the middle while
// the first runs from the beginning. The chains agree from the first match they share (a match is
// fixed by where it starts), so the first chain takes the second's results from there on; until
// then it goes on alone. The result is exactly that of one chain.
std::vector<Match> SearchSplit(const Pattern& pattern, const DecodedGbk& decoded, SearchEngine engine,
                               MatchStats* stats)
{
    const std::size_t mid = CharStartAtOrAfter(decoded.utf8(), decoded.utf8().size() / 2);
    const std::size_t gbkMid = decoded.gbkOffset(mid);
    Chain second(pattern, decoded, engine);
    auto later = std::async(std::launch::async, [&] { return second.rest(mid); });

    Chain first(pattern, decoded, engine);
    std::vector<Match> out;
    std::size_t start = 0;
    Match m;
    bool more = first.next(start, m);
    for (; more && m.start < gbkMid; more = first.next(start, m))
        out.push_back(std::move(m));
    std::vector<Match> tail = later.get();
    for (; more; more = first.next(start, m)) {
        const auto shared = std::lower_bound(tail.begin(), tail.end(), m.start,
                                             [](const Match& t, std::size_t s) { return t.start < s; });
        if (shared != tail.end() && shared->start == m.start) {
            out.insert(out.end(), std::make_move_iterator(shared), std::make_move_iterator(tail.end()));
            break;
        }
        out.push_back(std::move(m));
    }
    if (stats)
        stats->usedFallback = first.usedFallback() || second.usedFallback();
    return out;
}

}  // namespace

std::vector<Match> FindAllMatches(const Pattern& pattern, std::string_view gbkText, MatchStats* stats,
                                  SearchEngine engine)
{
    if (!pattern.valid() || gbkText.empty())
        return {};
    // Kept per thread: a large page then costs no fresh memory (and no page faults) next time.
    thread_local DecodedGbk decoded;
    if (!pattern.impl().asciiOnly || !decoded.decodeSameLength(gbkText))
        decoded.decode(gbkText);
    if (decoded.utf8().size() >= kSplitBytes && std::thread::hardware_concurrency() > 1)
        return SearchSplit(pattern, decoded, engine, stats);
    Chain chain(pattern, decoded, engine);
    std::vector<Match> matches = chain.rest(0);
    if (stats)
        stats->usedFallback = chain.usedFallback();
    return matches;
}

}  // namespace korvel
