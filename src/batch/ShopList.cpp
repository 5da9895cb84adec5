#include "batch/ShopList.h"

#include <set>

#include "text/Text.h"

namespace korvel::batch {
namespace {

constexpr std::string_view Suffixes[] = {".taobao.com", ".tmall.com"};

std::string_view Trimmed(std::string_view line)
{
    constexpr std::string_view blanks = " \t\r";
    const size_t first = line.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(blanks) - first + 1);
}

bool IsLabel(std::string_view label)
{
    if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-')
        return false;
    for (const char c : label) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'))
            return false;
    }
    return true;
}

// What is wrong with a line that is not a host, in the words an operator looks for.
std::string Fault(std::string_view text)
{
    if (text.find("://") != std::string_view::npos)
        return "a shop host without a scheme";
    if (text.find('/') != std::string_view::npos)
        return "a shop host without a path";
    if (text.find(':') != std::string_view::npos)
        return "a shop host without a port";
    return "a shop host ending in .taobao.com or .tmall.com";
}

}  // namespace

bool IsShopHost(std::string_view host)
{
    if (host.size() > 253)
        return false;
    for (const std::string_view suffix : Suffixes) {
        if (host.size() <= suffix.size() || !host.ends_with(suffix))
            continue;
        std::string_view rest = host.substr(0, host.size() - suffix.size());
        for (size_t dot; (dot = rest.find('.')) != std::string_view::npos; rest.remove_prefix(dot + 1)) {
            if (!IsLabel(rest.substr(0, dot)))
                return false;
        }
        return IsLabel(rest);
    }
    return false;
}

ShopList ParseShopList(std::string_view utf8)
{
    ShopList list;
    std::set<std::string> seen;
    // An editor on Windows may open the file with a byte-order mark.
    if (utf8.starts_with("\xEF\xBB\xBF"))
        utf8.remove_prefix(3);
    int number = 0;
    while (!utf8.empty()) {
        const size_t end = utf8.find('\n');
        const std::string_view line = Trimmed(utf8.substr(0, end));
        utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
        ++number;
        if (line.empty() || line.front() == '#')
            continue;
        std::string host = ToLowerAscii(line);
        if (!IsShopHost(host)) {
            list.hosts.clear();
            list.error = "line " + std::to_string(number) + ": \"" + std::string(line) + "\" is not " + Fault(line);
            return list;
        }
        if (seen.insert(host).second)
            list.hosts.push_back(std::move(host));
    }
    return list;
}

}  // namespace korvel::batch
