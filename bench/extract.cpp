// Item extraction with the seven-group Taobao pattern, beside the engines one might use instead,
// on the same input in the same run:
//
//   60-entry page and 20,000-entry area (GBK, realistic markup):
//     FindAllMatches (GBK decode, PCRE2 JIT, groups back to GBK bytes);
//     RE2 and std::regex on the already decoded UTF-8 text, groups copied out;
//     a memmem scan for "data-id=" (the physical floor for touching every byte).
//   a 200 KB page of entries that all lack their sales figure (PCRE2 gives up, RE2 finishes).
//
// The engines take turns on each input, round after round (see Rounds.h); each time is the median
// of its rounds and each ratio the ratio of two medians, printed with its spread.
//
//   extract_vs_re2_ratio        RE2 time / ours, the lower of the two sizes (goal >= 5)
//   extract_vs_std_regex_ratio  std::regex time / ours, the lower of the two sizes (goal >= 5)
//   extract_vs_memmem_ratio     our time / memmem time on the 20,000-entry area (goal <= 10)
//   pathological_vs_re2_ratio   our time / RE2 time on the pathological page (goal <= 2)

#include <re2/re2.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "Rounds.h"
#include "collect/GbkDecode.h"
#include "collect/Pattern.h"
#include "collect/Patterns.h"
#include "support/ShopMarkup.h"

namespace {

using korvel::tools::ShopEntry;
namespace bench = korvel::bench;

std::size_t Re2All(const RE2& re, std::string_view text)
{
    const int n = re.NumberOfCapturingGroups() + 1;
    std::vector<re2::StringPiece> pieces(n);
    std::vector<std::string> groups(n);
    std::size_t count = 0;
    for (std::size_t start = 0; re.Match(text, start, text.size(), RE2::UNANCHORED, pieces.data(), n);
         ++count) {
        for (int k = 0; k < n; ++k)
            groups[k].assign(pieces[k].data(), pieces[k].size());
        start = static_cast<std::size_t>(pieces[0].data() - text.data()) +
                std::max<std::size_t>(pieces[0].size(), 1);
    }
    return count;
}

std::size_t StdRegexAll(const std::regex& re, const std::string& text)
{
    std::size_t count = 0;
    std::vector<std::string> groups;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
         ++it, ++count) {
        groups.clear();
        for (const auto& group : *it)
            groups.push_back(group.str());
    }
    return count;
}

std::size_t MemmemCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char *at = text.data(), *end = text.data() + text.size();
         (at = static_cast<const char*>(memmem(at, end - at, "data-id=", 8))) != nullptr; at += 8)
        ++count;
    return count;
}

// ECMAScript spelling: the dot made to cross line breaks, "<" and ">" unescaped.
std::string EcmaScriptSyntax(std::string_view p)
{
    std::string out;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == '.')
            out += R"([\s\S])";
        else if (p[i] != '\\')
            out += p[i];
        else if (p[i + 1] == '<' || p[i + 1] == '>')
            out += p[++i];
        else
            out.append(p.substr(i++, 2));
    }
    return out;
}

// One engine's calls, `count` keeping what the last one found. Extraction never waits, so the
// thread's processor time is its cost, whatever else the machine runs meanwhile.
bench::Measure Engine(std::function<std::size_t()> run, std::size_t& count, double batchSeconds)
{
    return bench::PerCall([run = std::move(run), &count] { return (count = run()), true; }, batchSeconds,
                          bench::Timing::ThreadCpu);
}

struct Sizes {
    bench::Series ours, re2, stdRegex, memmem;
};

// Each engine in turn, round after round; `batchSeconds` of work per engine and round.
Sizes Measure(const char* label, const std::string& gbk, const std::string& pattern, double batchSeconds,
              const bench::RoundsPlan& plan)
{
    const korvel::Pattern compiled(pattern);
    RE2::Options options;
    options.set_dot_nl(true);
    options.set_max_mem(64 << 20);
    const RE2 re2("(?m)" + pattern, options);
    const std::regex stdRegex(EcmaScriptSyntax(pattern), std::regex::ECMAScript | std::regex::optimize);
    const std::string utf8 = korvel::DecodeGbk(gbk);

    std::size_t ours = 0, viaRe2 = 0, viaStd = 0, ids = 0;
    const auto rounds = bench::Interleave(
        {Engine([&] { return korvel::FindAllMatches(compiled, gbk).size(); }, ours, batchSeconds),
         Engine([&] { return Re2All(re2, utf8); }, viaRe2, batchSeconds),
         Engine([&] { return StdRegexAll(stdRegex, utf8); }, viaStd, batchSeconds),
         Engine([&] { return MemmemCount(gbk); }, ids, batchSeconds)},
        plan);
    const Sizes s{(*rounds)[0], (*rounds)[1], (*rounds)[2], (*rounds)[3]};
    std::printf("%s: %zu bytes, %zu entries; matches ours %zu, re2 %zu, std::regex %zu; %zu rounds\n", label,
                gbk.size(), ids, ours, viaRe2, viaStd, s.ours.rounds());
    std::printf("%s_ms: ours %.3f, re2 %.3f, std_regex %.3f, memmem %.3f (ours %.0f MB/s)\n", label,
                s.ours.median() * 1e3, s.re2.median() * 1e3, s.stdRegex.median() * 1e3,
                s.memmem.median() * 1e3, gbk.size() / 1e6 / s.ours.median());
    return s;
}

// A ratio taken on both sizes, the lower one counting, with the rounds it came from.
struct Lower {
    double ratio;
    bench::Series rounds;
};

Lower LowerOf(const bench::Series& pageTop, const bench::Series& pageBottom, const bench::Series& areaTop,
              const bench::Series& areaBottom)
{
    const double page = bench::RatioOfMedians(pageTop, pageBottom);
    const double area = bench::RatioOfMedians(areaTop, areaBottom);
    return page <= area ? Lower{page, bench::Quotients(pageTop, pageBottom)}
                        : Lower{area, bench::Quotients(areaTop, areaBottom)};
}

std::string SevenGroupPattern()
{
    return std::string(korvel::TaobaoItemHead) + korvel::TaobaoMarketPricePart + korvel::TaobaoSalesPart;
}

// Our engine gives up on a page of entries that all lack their sales figure and falls back to RE2.
struct Pathological {
    bench::Series ours, re2;
};

Pathological MeasurePathological(const std::string& pattern)
{
    auto broken = korvel::tools::SampleEntries(200, true);
    for (ShopEntry& e : broken)
        e.soldCount.clear();
    const std::string bad = korvel::tools::TaobaoItemArea(broken);
    const korvel::Pattern compiled(pattern);
    RE2::Options options;
    options.set_dot_nl(true);
    const RE2 re2("(?m)" + pattern, options);
    const std::string utf8 = korvel::DecodeGbk(bad);
    std::size_t ours = 0, viaRe2 = 0;
    korvel::MatchStats stats;
    const auto rounds = bench::Interleave(
        {Engine([&] { return korvel::FindAllMatches(compiled, bad, &stats).size(); }, ours, 0.005),
         Engine([&] { return Re2All(re2, utf8); }, viaRe2, 0.005)});
    const Pathological p{(*rounds)[0], (*rounds)[1]};
    std::printf(
        "pathological: %zu bytes; matches ours %zu, re2 %zu; fallback %s; ours %.3f ms, re2 %.3f ms\n",
        bad.size(), ours, viaRe2, stats.usedFallback ? "taken" : "not taken", p.ours.median() * 1e3,
        p.re2.median() * 1e3);
    return p;
}

}  // namespace

int main()
{
    const std::string pattern = SevenGroupPattern();
    // A page is a tenth of a millisecond of work: many short batches. The area takes our engine a
    // tenth of a second and std::regex nearly two: a few long rounds.
    const Sizes page = Measure(
        "page60", korvel::tools::TaobaoItemArea(korvel::tools::SampleEntries(60, true)), pattern, 0.005, {});
    const Sizes area =
        Measure("area20000", korvel::tools::TaobaoItemArea(korvel::tools::SampleEntries(20000, true)),
                pattern, 0.05, {.minSecondsPerSide = 0.5, .minRounds = 11});
    const Pathological bad = MeasurePathological(pattern);

    const Lower re2 = LowerOf(page.re2, page.ours, area.re2, area.ours);
    const Lower stdRegex = LowerOf(page.stdRegex, page.ours, area.stdRegex, area.ours);
    bench::PrintGoalFigure("extract_vs_re2_ratio", re2.ratio, 2, re2.rounds);
    bench::PrintGoalFigure("extract_vs_std_regex_ratio", stdRegex.ratio, 2, stdRegex.rounds);
    bench::PrintGoalFigure("extract_vs_memmem_ratio", bench::RatioOfMedians(area.ours, area.memmem), 2,
                           bench::Quotients(area.ours, area.memmem));
    bench::PrintGoalFigure("pathological_vs_re2_ratio", bench::RatioOfMedians(bad.ours, bad.re2), 2,
                           bench::Quotients(bad.ours, bad.re2));
    return 0;
}
