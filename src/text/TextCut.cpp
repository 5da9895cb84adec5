// Cutting texts by byte counts. These work on bytes, not characters, and may split a
// double-byte character; callers that need whole characters find their positions first.

#include <algorithm>

#include "text/Text.h"

namespace korvel {

std::string LeftText(std::string_view text, int n)
{
    if (n <= 0) {
        return {};
    }
    return std::string(text.substr(0, static_cast<size_t>(n)));
}

std::string RightText(std::string_view text, int n)
{
    if (n <= 0) {
        return {};
    }
    const size_t count = std::min(text.size(), static_cast<size_t>(n));
    return std::string(text.substr(text.size() - count));
}

std::string MidText(std::string_view text, int start, int length)
{
    if (start < 1 || static_cast<size_t>(start) > text.size() || length <= 0) {
        return {};
    }
    return std::string(text.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(length)));
}

}  // namespace korvel
