// Cutting addresses and header lines apart with the GBK text primitives.

#include "web/UrlHelpers.h"

#include "text/Gbk.h"
#include "text/Text.h"

namespace korvel {
namespace {

// "#引号" lets a caller write a double quote inside a marker.
const std::string QuoteMarker = gbk::FromUtf8("#引号");

}  // namespace

std::string TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                        int start, bool caseSensitive)
{
    const std::string opening = ReplaceText(startMarker, QuoteMarker, "\"", true);
    const std::string closing = ReplaceText(endMarker, QuoteMarker, "\"", true);
    const int found = FindText(text, opening, start, !caseSensitive);
    if (found == -1) {
        return {};
    }
    const int first = found + static_cast<int>(opening.size());
    const int end = FindText(text, closing, first, !caseSensitive);
    if (end == -1) {
        return {};
    }
    return MidText(text, first, end - first);
}

std::string HeaderValue(std::string_view line)
{
    const int colon = FindText(line, ":");
    if (colon == -1) {
        return {};
    }
    return TrimSpaces(line.substr(static_cast<size_t>(colon)));
}

std::string UrlHost(std::string_view url, bool rootDomainOnly, bool keepPort)
{
    std::string address = ToLowerAscii(url);
    if (RightText(address, 1) != "/") {
        address += '/';
    }
    std::string host;
    if (LeftText(address, 8) == "https://") {
        host = TextBetween(address, "https://", "/");
    } else {
        if (FindText(address, "http://") == -1) {
            address.insert(0, "http://");
        }
        host = TextBetween(address, "http://", "/");
    }
    if (rootDomainOnly) {
        const std::vector<std::string> labels = SplitText(host, ".");
        if (labels.size() > 1) {
            host = labels[labels.size() - 2] + "." + labels.back();
        }
    }
    const int colon = FindText(host, ":");
    if (!keepPort && colon != -1) {
        host = LeftText(host, colon - 1);
    }
    return host;
}

int UrlPort(std::string_view url)
{
    const std::string host = UrlHost(url, false, true);
    const int colon = FindTextReverse(host, ":");
    if (colon == -1) {
        return LeftText(ToLowerAscii(url), 5) == "https" ? 443 : 80;
    }
    return ToInteger(host.substr(static_cast<size_t>(colon)));
}

std::string UrlPath(std::string_view url)
{
    const int hostAt = FindText(url, UrlHost(url), 1, true);
    const int slash = FindText(url, "/", hostAt);
    if (slash < 1) {
        return "/";
    }
    return std::string(url.substr(static_cast<size_t>(slash) - 1));
}

}  // namespace korvel
