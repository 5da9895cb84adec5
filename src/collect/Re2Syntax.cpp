#include "collect/Re2Syntax.h"

namespace korvel {
namespace {

// PCRE2's \s without Unicode properties: tab, line feed, vertical tab, form feed, carriage
// return, space (0x09-0x0D and 0x20); \S is everything else.
constexpr std::string_view kSpaceRanges = R"(\x09-\x0D\x20)";
constexpr std::string_view kNonSpaceRanges = R"(\x00-\x08\x0E-\x1F\x21-\x{10FFFF})";

}  // namespace

std::string ToRe2Syntax(std::string_view p)
{
    std::string out;
    out.reserve(p.size() + 64);
    bool inClass = false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        if (c != '\\' || i + 1 == p.size()) {
            // A ']' right after '[' or '[^' is a literal member, not the end of the class.
            if (c == '[' && !inClass) {
                inClass = true;
                out += c;
                if (i + 1 < p.size() && p[i + 1] == '^')
                    out += p[++i];
                if (i + 1 < p.size() && p[i + 1] == ']')
                    out += p[++i];
                continue;
            }
            if (c == ']')
                inClass = false;
            out += c;
            continue;
        }
        const char next = p[++i];
        if (next == 's' || next == 'S') {
            const std::string_view ranges = next == 's' ? kSpaceRanges : kNonSpaceRanges;
            if (inClass)
                out += ranges;
            else
                out.append("[").append(ranges).append("]");
        } else if (static_cast<unsigned char>(next) >= 0x80) {
            out += next;
        } else {
            out += '\\';
            out += next;
        }
    }
    return out;
}

}  // namespace korvel
