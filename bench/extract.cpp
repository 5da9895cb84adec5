// Item extraction with the seven-group Taobao pattern, beside the engines one might use instead,
// on the same input in the same run:
//
//   60-entry page and 20,000-entry area (GBK, realistic markup):
//     FindAllMatches (GBK decode, PCRE2 JIT, groups back to GBK bytes);
//     RE2 and std::regex on the already decoded UTF-8 text, groups copied out;
//     a memmem scan for "data-id=" (the physical floor for touching every byte).
//   a 200 KB page of entries that all lack their sales figure (PCRE2 gives up, RE2 finishes).
//
//   extract_vs_re2_ratio        RE2 time / ours, the lower of the two sizes (goal >= 5)
//   extract_vs_std_regex_ratio  std::regex time / ours, the lower of the two sizes (goal >= 5)
//   extract_vs_memmem_ratio     our time / memmem time on the 20,000-entry area (goal <= 10)
//   pathological_vs_re2_ratio   our time / RE2 time on the pathological page (goal <= 2)

#include <re2/re2.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "collect/GbkDecode.h"
#include "collect/Pattern.h"
#include "collect/Patterns.h"
#include "support/ShopMarkup.h"

namespace {

using korvel::tools::ShopEntry;

// The median wall time of one call in milliseconds, over enough calls to fill about 0.3 s.
double MedianMs(const std::function<std::size_t()>& run, std::size_t& result)
{
    std::vector<double> times;
    const auto begin = std::chrono::steady_clock::now();
    while (times.size() < 3 || (times.size() < 200 &&
                                std::chrono::steady_clock::now() - begin < std::chrono::milliseconds(300))) {
        const auto t0 = std::chrono::steady_clock::now();
        result = run();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

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

struct Sizes {
    double ours, re2, stdRegex, memmem;
};

Sizes Measure(const char* label, const std::string& gbk, const std::string& pattern)
{
    const korvel::Pattern compiled(pattern);
    RE2::Options options;
    options.set_dot_nl(true);
    options.set_max_mem(64 << 20);
    const RE2 re2("(?m)" + pattern, options);
    const std::regex stdRegex(EcmaScriptSyntax(pattern), std::regex::ECMAScript | std::regex::optimize);
    const std::string utf8 = korvel::DecodeGbk(gbk);

    std::size_t ours = 0, viaRe2 = 0, viaStd = 0, ids = 0;
    Sizes s{};
    s.ours = MedianMs([&] { return korvel::FindAllMatches(compiled, gbk).size(); }, ours);
    s.re2 = MedianMs([&] { return Re2All(re2, utf8); }, viaRe2);
    s.stdRegex = MedianMs([&] { return StdRegexAll(stdRegex, utf8); }, viaStd);
    s.memmem = MedianMs([&] { return MemmemCount(gbk); }, ids);
    std::printf("%s: %zu bytes, %zu entries; matches ours %zu, re2 %zu, std::regex %zu\n", label, gbk.size(),
                ids, ours, viaRe2, viaStd);
    std::printf("%s_ms: ours %.3f, re2 %.3f, std_regex %.3f, memmem %.3f (ours %.0f MB/s)\n", label, s.ours,
                s.re2, s.stdRegex, s.memmem, gbk.size() / 1e3 / s.ours);
    return s;
}

std::string SevenGroupPattern()
{
    return std::string(korvel::TaobaoItemHead) + korvel::TaobaoMarketPricePart + korvel::TaobaoSalesPart;
}

}  // namespace

int main()
{
    const std::string pattern = SevenGroupPattern();
    const Sizes page =
        Measure("page60", korvel::tools::TaobaoItemArea(korvel::tools::SampleEntries(60, true)), pattern);
    const Sizes area = Measure(
        "area20000", korvel::tools::TaobaoItemArea(korvel::tools::SampleEntries(20000, true)), pattern);

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
    const double badOurs =
        MedianMs([&] { return korvel::FindAllMatches(compiled, bad, &stats).size(); }, ours);
    const double badRe2 = MedianMs([&] { return Re2All(re2, utf8); }, viaRe2);
    std::printf(
        "pathological: %zu bytes; matches ours %zu, re2 %zu; fallback %s; ours %.3f ms, re2 %.3f ms\n",
        bad.size(), ours, viaRe2, stats.usedFallback ? "taken" : "not taken", badOurs, badRe2);

    std::printf("extract_vs_re2_ratio = %.2f\n", std::min(page.re2 / page.ours, area.re2 / area.ours));
    std::printf("extract_vs_std_regex_ratio = %.2f\n",
                std::min(page.stdRegex / page.ours, area.stdRegex / area.ours));
    std::printf("extract_vs_memmem_ratio = %.2f\n", area.ours / area.memmem);
    std::printf("pathological_vs_re2_ratio = %.2f\n", badOurs / badRe2);
    return 0;
}
