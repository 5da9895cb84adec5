#include "alerts/WebhookAddress.h"

#include <algorithm>
#include <charconv>

#include "text/Text.h"

namespace korvel::alerts {
namespace {

constexpr std::size_t SecretLength = 8;

bool Unsafe(unsigned char c)
{
    return c <= 0x20 || c >= 0x7F;
}

bool HostCharacter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-';
}

std::optional<int> PortOf(std::string_view digits)
{
    int port = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() || port < 1 || port > 65535)
        return std::nullopt;
    return port;
}

// Splits "host[:port]" (or "[v6][:port]") into the address.
bool ReadAuthority(std::string_view authority, WebhookAddress& address)
{
    std::size_t hostEnd = authority.rfind(':');
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos)
            return false;
        hostEnd = close + 1 < authority.size() ? close + 1 : std::string_view::npos;
        if (hostEnd != std::string_view::npos && authority[hostEnd] != ':')
            return false;
        address.host = authority.substr(0, close + 1);
    } else {
        address.host = ToLowerAscii(authority.substr(0, hostEnd));
        if (address.host.empty() || !std::all_of(address.host.begin(), address.host.end(), HostCharacter))
            return false;
    }
    if (hostEnd == std::string_view::npos)
        return true;
    const auto port = PortOf(authority.substr(hostEnd + 1));
    address.port = port.value_or(0);
    return port.has_value();
}

}  // namespace

std::vector<std::string> WebhookAddress::secrets() const
{
    std::vector<std::string> found;
    const std::size_t query = target.find('?');
    for (const std::string& segment : SplitText(target.substr(0, query), "/")) {
        if (segment.size() >= SecretLength)
            found.push_back(segment);
    }
    if (query == std::string::npos)
        return found;
    for (const std::string& pair : SplitText(target.substr(query + 1), "&")) {
        const std::size_t equals = pair.find('=');
        const std::string value = equals == std::string::npos ? pair : pair.substr(equals + 1);
        if (!value.empty())
            found.push_back(value);
    }
    return found;
}

std::optional<WebhookAddress> ParseWebhookAddress(std::string_view text, std::string& problem)
{
    WebhookAddress address;
    const std::size_t schemeEnd = text.find("://");
    const std::string scheme = ToLowerAscii(text.substr(0, schemeEnd));
    if (schemeEnd == std::string_view::npos || (scheme != "https" && scheme != "http")) {
        problem = "地址必须以 https:// 开头";
        return std::nullopt;
    }
    address.secure = scheme == "https";
    address.port = address.secure ? 443 : 80;
    const std::string_view rest = text.substr(schemeEnd + 3);
    if (std::any_of(rest.begin(), rest.end(), [](char c) { return Unsafe(static_cast<unsigned char>(c)) || c == '#'; })) {
        problem = "地址中有空格、控制字符、非 ASCII 字符或 #";
        return std::nullopt;
    }
    const std::size_t pathStart = std::min(rest.find_first_of("/?"), rest.size());
    const std::string_view authority = rest.substr(0, pathStart);
    if (authority.find('@') != std::string_view::npos || !ReadAuthority(authority, address)) {
        problem = "地址中的主机名或端口无效";
        return std::nullopt;
    }
    address.target = std::string(rest.substr(pathStart));
    if (!address.target.starts_with('/'))
        address.target.insert(0, "/");
    if (!address.secure && !IsLoopback(address.host)) {
        problem = "地址必须使用 https（明文 http 只允许 127.0.0.1）";
        return std::nullopt;
    }
    return address;
}

bool IsLoopback(std::string_view host)
{
    return host == "127.0.0.1";
}

}  // namespace korvel::alerts
