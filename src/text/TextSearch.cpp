// Searches that only start a match where a character begins: a byte of 0x80 or above leads a
// double-byte character, and its second byte (often an ASCII letter or "\") must never be
// mistaken for a character of its own.

#include <algorithm>
#include <cstring>

#include "text/Text.h"
#include "text/TextScan.h"

namespace korvel {
namespace textscan {
namespace {

char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when `at` (0-based) begins a character. Every position after a byte below 0x80 does, so
// only the run of high bytes just before `at` decides it.
bool IsCharStart(std::string_view text, size_t at)
{
    size_t run = 0;
    while (run < at && IsLead(text[at - run - 1])) {
        ++run;
    }
    return run % 2 == 0;
}

// Compares at a character start; with ignoreCase only single-byte letters fold, never the second
// byte of a double-byte character.
bool MatchesAt(std::string_view text, size_t at, std::string_view sought, bool ignoreCase)
{
    if (!ignoreCase) {
        return std::memcmp(text.data() + at, sought.data(), sought.size()) == 0;
    }
    bool secondHalf = false;
    for (size_t i = 0; i < sought.size(); ++i) {
        const char have = text[at + i];
        const bool same = secondHalf ? have == sought[i] : FoldAscii(have) == FoldAscii(sought[i]);
        if (!same) {
            return false;
        }
        secondHalf = !secondHalf && IsLead(have);
    }
    return true;
}

// The next byte at or after `from` (below `end`) equal to `c`, or `end`.
size_t NextByte(std::string_view text, char c, size_t from, size_t end)
{
    const void* hit = std::memchr(text.data() + from, c, end - from);
    return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data()) : end;
}

// Next raw occurrence at or after `from` (0-based), or npos; the caller checks character starts.
// Ignoring case, candidates come from memchr on both forms of the first byte, each position kept
// until it is passed, so a rare form is not searched for again and again.
size_t RawFind(std::string_view text, std::string_view sought, size_t from, bool ignoreCase)
{
    if (!ignoreCase) {
        return text.find(sought, from);
    }
    if (sought.size() > text.size()) {
        return std::string_view::npos;
    }
    const size_t end = text.size() - sought.size() + 1;
    const char lower = FoldAscii(sought[0]);
    const char upper = (lower >= 'a' && lower <= 'z') ? static_cast<char>(lower - 'a' + 'A') : lower;
    size_t nextLower = from < end ? NextByte(text, lower, from, end) : end;
    size_t nextUpper = upper == lower ? end : (from < end ? NextByte(text, upper, from, end) : end);
    for (;;) {
        const size_t at = std::min(nextLower, nextUpper);
        if (at >= end) {
            return std::string_view::npos;
        }
        if (MatchesAt(text, at, sought, true)) {
            return at;
        }
        if (nextLower == at) {
            nextLower = at + 1 < end ? NextByte(text, lower, at + 1, end) : end;
        } else {
            nextUpper = at + 1 < end ? NextByte(text, upper, at + 1, end) : end;
        }
    }
}

}  // namespace

size_t FindFromCharStart(std::string_view text, std::string_view sought, size_t from, bool ignoreCase)
{
    size_t cursor = from;
    for (;;) {
        const size_t hit = RawFind(text, sought, cursor, ignoreCase);
        if (hit == std::string_view::npos) {
            return hit;
        }
        cursor = CharStartFrom(text, cursor, hit);
        if (cursor == hit) {
            return hit;
        }
    }
}

}  // namespace textscan

using textscan::CharLength;
using textscan::FindFromCharStart;

int FindText(std::string_view text, std::string_view sought, int start, bool ignoreCase)
{
    size_t from = start < 1 ? 0 : static_cast<size_t>(start) - 1;
    if (from >= text.size()) {
        return -1;
    }
    if (!textscan::IsCharStart(text, from)) {
        ++from;
    }
    if (sought.empty()) {
        // Callers rely on the fixed answer 1 for any non-empty stretch, whatever the start.
        return from < text.size() ? 1 : -1;
    }
    const size_t hit = FindFromCharStart(text, sought, from, ignoreCase);
    return hit == std::string_view::npos ? -1 : static_cast<int>(hit) + 1;
}

int FindTextReverse(std::string_view text, std::string_view sought, bool ignoreCase)
{
    if (text.empty()) {
        return -1;
    }
    if (sought.empty()) {
        return 1;
    }
    int last = -1;
    size_t from = 0;
    for (;;) {
        const size_t hit = FindFromCharStart(text, sought, from, ignoreCase);
        if (hit == std::string_view::npos) {
            return last;
        }
        last = static_cast<int>(hit) + 1;
        from = hit + CharLength(text, hit);
    }
}

}  // namespace korvel
