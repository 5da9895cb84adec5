#include "web/SessionEngine.h"

#include <string_view>

namespace korvel {

void LoadSessionCookies(CURL* h, const std::string& lines)
{
    curl_easy_setopt(h, CURLOPT_COOKIELIST, "ALL");
    std::string_view rest = lines;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find('\n'), rest.size());
        const std::string line(rest.substr(0, end));
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (!line.empty())
            curl_easy_setopt(h, CURLOPT_COOKIELIST, line.c_str());
    }
}

std::string EngineCookies(CURL* h)
{
    curl_slist* list = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_COOKIELIST, &list) != CURLE_OK)
        return {};
    std::string lines;
    for (const curl_slist* item = list; item != nullptr; item = item->next)
        lines.append(item->data).push_back('\n');
    curl_slist_free_all(list);
    return lines;
}

}  // namespace korvel
