#include "members/BackendAddress.h"

#include <algorithm>

#include "text/Text.h"

namespace korvel {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsNameCharacter(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' || c == '.';
}

bool ValidHost(std::string_view host)
{
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        return std::all_of(host.begin() + 1, host.end() - 1,
                           [](char c) { return IsDigit(c) || c == ':' || c == '.' || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); });
    }
    return !host.empty() && host.front() != '.' && host.front() != '-' && std::all_of(host.begin(), host.end(), IsNameCharacter);
}

// 1 to 65535 in at most five digits; 0 for anything else.
int PortNumber(std::string_view digits)
{
    if (digits.empty() || digits.size() > 5 || !std::all_of(digits.begin(), digits.end(), IsDigit)) {
        return 0;
    }
    const int port = std::stoi(std::string(digits));
    return port <= 65535 ? port : 0;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char wanted, char c) { return (c | 0x20) == wanted; });
}

}  // namespace

std::optional<BackendAddress> ParseBackendAddress(std::string_view text)
{
    BackendAddress address;
    if (StartsWith(text, "https://")) {
        address.secure = true;
        text.remove_prefix(8);
    } else if (StartsWith(text, "http://")) {
        text.remove_prefix(7);
    }
    const size_t bracket = text.rfind(']');
    const size_t colon = text.rfind(':');
    const bool hasPort = colon != std::string_view::npos && (bracket == std::string_view::npos || colon > bracket);
    if (hasPort) {
        address.port = PortNumber(text.substr(colon + 1));
        if (address.port == 0) {
            return std::nullopt;
        }
        text = text.substr(0, colon);
    }
    if (!ValidHost(text)) {
        return std::nullopt;
    }
    address.host = std::string(text);
    return address;
}

std::string BackendAddress::endpoint() const
{
    const std::string portText = port == 0 ? "" : ":" + IntToText(port);
    return (secure ? "https://" : "http://") + host + portText + "/app/index.php";
}

bool BackendAddress::local() const
{
    const bool ipv4 = std::all_of(host.begin(), host.end(), [](char c) { return IsDigit(c) || c == '.'; });
    return host == "localhost" || host == "[::1]" || (ipv4 && host.rfind("127.", 0) == 0);
}

}  // namespace korvel
