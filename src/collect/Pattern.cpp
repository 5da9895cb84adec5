#include "collect/Pattern.h"

#include <algorithm>

#include "collect/GbkDecode.h"
#include "collect/PatternImpl.h"
#include "collect/Re2Syntax.h"

namespace korvel {
namespace {

// PatternOptions. No PCRE2_UCP: \s stays ASCII white space, as Re2Syntax spells it for RE2. The
// decoder only ever produces valid UTF-8, so the UTF check is skipped.
constexpr uint32_t kPcre2Options = PCRE2_UTF | PCRE2_NO_UTF_CHECK | PCRE2_DOTALL | PCRE2_MULTILINE;

pcre2_code* CompilePcre2(const std::string& utf8)
{
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(utf8.data()), utf8.size(), kPcre2Options,
                                     &error, &offset, nullptr);
    // Without JIT (an unsupported CPU) pcre2_match interprets: slower, same results.
    if (code)
        pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
    return code;
}

std::unique_ptr<RE2> CompileRe2(const std::string& utf8)
{
    RE2::Options options;
    options.set_encoding(RE2::Options::EncodingUTF8);
    options.set_dot_nl(true);
    options.set_case_sensitive(true);
    options.set_longest_match(false);
    options.set_never_capture(false);
    options.set_log_errors(false);
    options.set_max_mem(64 << 20);
    // (?m): ^ and $ at line starts and ends, as PCRE2_MULTILINE.
    auto re2 = std::make_unique<RE2>("(?m)" + ToRe2Syntax(utf8), options);
    return re2->ok() ? std::move(re2) : nullptr;
}

}  // namespace

Pattern::Pattern(std::string_view gbkPattern) : impl_(std::make_unique<Impl>())
{
    const std::string utf8 = DecodeGbk(gbkPattern);
    impl_->pcre2 = CompilePcre2(utf8);
    impl_->re2 = CompileRe2(utf8);
    if (!valid())
        return;
    uint32_t groups = 0;
    pcre2_pattern_info(impl_->pcre2, PCRE2_INFO_CAPTURECOUNT, &groups);
    // Both engines must agree on the groups, or a fallback would shift them.
    if (static_cast<int>(groups) != impl_->re2->NumberOfCapturingGroups()) {
        pcre2_code_free(impl_->pcre2);
        impl_->pcre2 = nullptr;
        return;
    }
    impl_->groups = static_cast<int>(groups);
    impl_->asciiOnly = std::all_of(gbkPattern.begin(), gbkPattern.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

Pattern::~Pattern() = default;
Pattern::Pattern(Pattern&&) noexcept = default;
Pattern& Pattern::operator=(Pattern&&) noexcept = default;

bool Pattern::valid() const
{
    return impl_ && impl_->pcre2 && impl_->re2;
}

int Pattern::groupCount() const
{
    return valid() ? impl_->groups : 0;
}

std::string GroupText(const Match& match, int k)
{
    if (k < 1 || static_cast<std::size_t>(k) >= match.groups.size())
        return {};
    return match.groups[k];
}

}  // namespace korvel
