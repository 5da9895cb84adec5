#pragma once

// The two compiled forms behind a Pattern: PCRE2 (JIT) for every search, RE2 to finish a search
// on which PCRE2 reached a limit.

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>
#include <re2/re2.h>

#include <memory>

#include "collect/Pattern.h"

namespace korvel {

struct Pattern::Impl {
    pcre2_code* pcre2 = nullptr;
    std::unique_ptr<RE2> re2;
    int groups = 0;
    // No literal beyond ASCII: subjects may be matched in their same-length form.
    bool asciiOnly = false;

    ~Impl() { pcre2_code_free(pcre2); }
};

}  // namespace korvel
