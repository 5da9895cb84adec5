// Merging the cookies a response set into the caller's jar: new values win, old cookies the
// response did not mention are kept, and cookies the server deleted are dropped.

#include "text/Text.h"
#include "web/UrlHelpers.h"

namespace korvel {
namespace {

constexpr std::string_view ItemSeparator = "; ";

}  // namespace

void MergeCookies(std::string& cookieJar, std::string& returnedCookies)
{
    cookieJar = DeleteSpaces(cookieJar);
    returnedCookies = DeleteSpaces(returnedCookies);
    std::vector<std::string> merged = SplitText(returnedCookies, ";");
    for (const std::string& old : SplitText(cookieJar, ";")) {
        if (!HasCookieNamed(merged, CookieName(old))) {
            merged.push_back(old);
        }
    }
    std::string jar;
    for (const std::string& item : merged) {
        if (RightText(item, 8) != "=deleted") {
            jar.append(item).append(ItemSeparator);
        }
    }
    jar = LeftText(jar, static_cast<int>(jar.size()) - 2);
    cookieJar = RemoveDuplicateItems(jar, ItemSeparator);
}

std::string CookieName(std::string_view item)
{
    const int equals = FindText(item, "=");
    return TrimSpaces(equals == -1 ? item : item.substr(0, static_cast<size_t>(equals) - 1));
}

bool HasCookieNamed(const std::vector<std::string>& items, std::string_view name)
{
    for (const std::string& item : items) {
        if (CookieName(item) == name) {
            return true;
        }
    }
    return false;
}

std::string RemoveDuplicateItems(std::string_view text, std::string_view separator)
{
    std::vector<std::string> seen;
    std::string result;
    for (std::string& piece : SplitText(text, separator)) {
        if (IndexOfText(seen, piece) == -1) {
            result.append(piece).append(separator);
            seen.push_back(std::move(piece));
        }
    }
    return LeftText(result, static_cast<int>(result.size()) - static_cast<int>(separator.size()));
}

int IndexOfText(const std::vector<std::string>& items, std::string_view text)
{
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] == text) {
            return static_cast<int>(i) + 1;
        }
    }
    return -1;
}

}  // namespace korvel
