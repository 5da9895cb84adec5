#include "batch/ShopList.h"

#include <algorithm>
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

// The length of the UTF-8 character at the start of `text` that may be shown as it is, or 0 for a
// byte to escape: a control, DEL, a C1 control or a byte that starts no valid character.
size_t ShowableLength(std::string_view text)
{
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead >= 0x20 && lead < 0x7F)
        return 1;
    const size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                          : lead >= 0xF0 && lead <= 0xF4                                ? 4
                                                                                        : 0;
    if (length == 0 || text.size() < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    }
    const bool overlong = (lead == 0xE0 && byte(1) < 0xA0) || (lead == 0xF0 && byte(1) < 0x90);
    const bool surrogate = lead == 0xED && byte(1) >= 0xA0;
    const bool tooHigh = lead == 0xF4 && byte(1) >= 0x90;
    const bool c1 = lead == 0xC2 && byte(1) < 0xA0;
    return overlong || surrogate || tooHigh || c1 ? 0 : length;
}

// The line as an error may show it on a terminal: escapes (a terminal would run them), other
// controls and broken UTF-8 as \xNN, and no more than the first 200 characters.
std::string Quoted(std::string_view line)
{
    constexpr int MaxCharacters = 200;
    std::string quoted = "\"";
    int characters = 0;
    while (!line.empty() && characters < MaxCharacters) {
        const size_t length = ShowableLength(line);
        if (length == 0) {
            static const char hex[] = "0123456789ABCDEF";
            const auto b = static_cast<unsigned char>(line.front());
            quoted += "\\x";
            quoted += hex[b >> 4];
            quoted += hex[b & 0x0F];
        } else {
            if (line.front() == '"' || line.front() == '\\')
                quoted += '\\';
            quoted.append(line.substr(0, length));
        }
        line.remove_prefix(std::max<size_t>(length, 1));
        ++characters;
    }
    quoted += '"';
    if (!line.empty())
        quoted += "…";
    return quoted;
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
    size_t read = 0;
    const auto refuse = [&list, &number](const std::string& fault) {
        list.hosts.clear();
        list.error = "line " + std::to_string(number) + ": " + fault;
        return list;
    };
    while (!utf8.empty()) {
        const size_t end = utf8.find('\n');
        const std::string_view raw = utf8.substr(0, end);
        utf8.remove_prefix(end == std::string_view::npos ? utf8.size() : end + 1);
        ++number;
        read += raw.size() + (end == std::string_view::npos ? 0 : 1);
        if (read > MaxListBytes)
            return refuse("the list is larger than 10 MB");
        if (raw.size() > MaxLineBytes)
            return refuse("longer than 4 KB (" + std::to_string(raw.size()) + " bytes)");
        const std::string_view line = Trimmed(raw);
        if (line.empty() || line.front() == '#')
            continue;
        std::string host = ToLowerAscii(line);
        if (!IsShopHost(host))
            return refuse(Quoted(line) + " is not " + Fault(line));
        if (seen.insert(host).second)
            list.hosts.push_back(std::move(host));
    }
    return list;
}

}  // namespace korvel::batch
