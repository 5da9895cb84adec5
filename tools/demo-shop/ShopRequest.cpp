#include "demo-shop/ShopRequest.h"

#include <strings.h>

#include <cctype>

namespace korvel::demo {
namespace {

std::string Trimmed(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    const size_t last = text.find_last_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::string Decoded(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i] == '+' ? ' ' : text[i];
        }
    }
    return out;
}

}  // namespace

RecordedRequest ParseShopRequest(const std::string& raw)
{
    RecordedRequest request;
    const size_t headEnd = raw.find("\r\n\r\n");
    const std::string head = raw.substr(0, headEnd);
    request.body = headEnd == std::string::npos ? std::string() : raw.substr(headEnd + 4);
    const size_t lineEnd = std::min(head.find("\r\n"), head.size());
    const std::string line = head.substr(0, lineEnd);
    const size_t space = line.find(' ');
    request.method = line.substr(0, space);
    request.target = line.substr(space + 1, line.rfind(' ') - space - 1);
    request.path = request.target.substr(0, request.target.find('?'));
    for (size_t at = lineEnd; at < head.size();) {
        const size_t next = std::min(head.find("\r\n", at + 2), head.size());
        const std::string header = head.substr(at + 2, next - at - 2);
        const size_t colon = header.find(':');
        if (colon != std::string::npos)
            request.headers.emplace(header.substr(0, colon), Trimmed(header.substr(colon + 1)));
        at = next;
    }
    return request;
}

std::string QueryValue(const RecordedRequest& request, const std::string& name)
{
    const size_t question = request.target.find('?');
    if (question == std::string::npos)
        return {};
    const std::string query = request.target.substr(question + 1);
    for (size_t at = 0; at <= query.size();) {
        const size_t end = std::min(query.find('&', at), query.size());
        const std::string pair = query.substr(at, end - at);
        const size_t equals = pair.find('=');
        if (pair.substr(0, equals) == name)
            return equals == std::string::npos ? std::string() : Decoded(pair.substr(equals + 1));
        at = end + 1;
    }
    return {};
}

std::string HostOf(const RecordedRequest& request)
{
    for (const auto& [name, value] : request.headers) {
        if (strcasecmp(name.c_str(), "Host") == 0)
            return value.substr(0, value.find(':'));
    }
    return {};
}

}  // namespace korvel::demo
