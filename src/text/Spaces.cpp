// Spaces are the ASCII space and the full-width space A1 A1, the latter only where a character
// begins: A1 A1 can also be the second half of one character and the first of the next.

#include "text/Text.h"
#include "text/TextScan.h"

namespace korvel {
namespace {

using textscan::CharLength;

// Byte length of the space starting at `at` (a character start), or 0 when it is no space.
size_t SpaceLength(std::string_view text, size_t at)
{
    if (text[at] == ' ') {
        return 1;
    }
    if (text.substr(at, 2) == "\xA1\xA1") {
        return 2;
    }
    return 0;
}

}  // namespace

std::string TrimSpaces(std::string_view text)
{
    size_t at = 0;
    while (at < text.size() && SpaceLength(text, at) > 0) {
        at += SpaceLength(text, at);
    }
    const size_t begin = at;
    size_t end = at;  // just after the last character that is not a space
    while (at < text.size()) {
        const size_t length = CharLength(text, at);
        if (SpaceLength(text, at) == 0) {
            end = at + length;
        }
        at += length;
    }
    return std::string(text.substr(begin, end - begin));
}

std::string DeleteSpaces(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    size_t at = 0;
    while (at < text.size()) {
        const size_t length = CharLength(text, at);
        if (SpaceLength(text, at) == 0) {
            result.append(text.substr(at, length));
        }
        at += length;
    }
    return result;
}

std::string ToLowerAscii(std::string_view text)
{
    std::string result(text);
    for (size_t at = 0; at < result.size(); at += CharLength(result, at)) {
        char& c = result[at];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

}  // namespace korvel
