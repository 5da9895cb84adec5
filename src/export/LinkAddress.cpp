#include "export/LinkAddress.h"

#include <algorithm>
#include <cctype>

namespace korvel {
namespace {

constexpr size_t MaxLinkLength = 2079;

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(b)) == a; });
}

// A host name with an optional port, up to the first slash.
bool StartsWithHost(std::string_view address, bool needsDot)
{
    const std::string_view host = address.substr(0, address.find('/'));
    const bool hostCharacters = std::all_of(host.begin(), host.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == ':';
    });
    return !host.empty() && hostCharacters && std::isalnum(static_cast<unsigned char>(host.front())) &&
           (!needsDot || host.find('.') != std::string_view::npos);
}

bool IsHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// Every byte libxlsxwriter or a URL would escape, escaped here: then the length checked is the
// length written.
std::string PercentEncoded(std::string_view address)
{
    constexpr std::string_view Unsafe = "\"<>[]^`{}|\\";
    constexpr char Hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (size_t i = 0; i < address.size(); ++i) {
        const auto byte = static_cast<unsigned char>(address[i]);
        const bool escapedAlready =
            byte == '%' && i + 2 < address.size() && IsHexDigit(address[i + 1]) && IsHexDigit(address[i + 2]);
        if (byte > 0x20 && byte < 0x7F && Unsafe.find(address[i]) == std::string_view::npos &&
            (byte != '%' || escapedAlready)) {
            encoded += address[i];
        } else {
            encoded += '%';
            encoded += Hex[byte >> 4];
            encoded += Hex[byte & 0x0F];
        }
    }
    return encoded;
}

}  // namespace

std::optional<std::string> LinkTarget(std::string_view utf8Address)
{
    std::string absolute;
    for (std::string_view scheme : {"http://", "https://"}) {
        if (StartsWithNoCase(utf8Address, scheme) && StartsWithHost(utf8Address.substr(scheme.size()), false))
            absolute = utf8Address;
    }
    if (absolute.empty() && utf8Address.starts_with("//") && StartsWithHost(utf8Address.substr(2), true))
        absolute = "https:" + std::string(utf8Address);
    if (absolute.empty() && StartsWithHost(utf8Address, true))
        absolute = "https://" + std::string(utf8Address);
    if (absolute.empty())
        return std::nullopt;
    std::string target = PercentEncoded(absolute);
    if (target.size() > MaxLinkLength)
        return std::nullopt;
    return target;
}

}  // namespace korvel
