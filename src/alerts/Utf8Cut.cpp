#include "alerts/Utf8Cut.h"

#include "text/Utf8.h"

namespace korvel::alerts {

std::string_view CutUtf8Bytes(std::string_view utf8, std::size_t maxBytes)
{
    std::size_t end = 0;
    while (end < utf8.size()) {
        const std::size_t next = end + NextUtf8(utf8, end).length;
        if (next > maxBytes)
            break;
        end = next;
    }
    return utf8.substr(0, end);
}

std::string ShortenUtf8(std::string_view utf8, std::size_t maxCharacters)
{
    std::size_t end = 0;
    for (std::size_t count = 0; end < utf8.size(); ++count) {
        if (count == maxCharacters)
            return std::string(utf8.substr(0, end)) + "…";
        end += NextUtf8(utf8, end).length;
    }
    return std::string(utf8);
}

}  // namespace korvel::alerts
