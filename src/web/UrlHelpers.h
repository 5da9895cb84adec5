#pragma once

// Address, header-line and cookie helpers under the HTTP request, on GBK texts.

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The text between the first startMarker at or after `start` and the next endMarker; empty when
// either is missing. "#引号" in a marker stands for a double quote.
std::string TextBetween(std::string_view text, std::string_view startMarker, std::string_view endMarker,
                        int start = 1, bool caseSensitive = false);
std::string HeaderValue(std::string_view line);

std::string UrlHost(std::string_view url, bool rootDomainOnly = false, bool keepPort = false);
int UrlPort(std::string_view url);
std::string UrlPath(std::string_view url);

// Rewrites both in place: the jar becomes the merged cookies, the returned text loses its spaces.
void MergeCookies(std::string& cookieJar, std::string& returnedCookies);
std::string CookieName(std::string_view item);
bool HasCookieNamed(const std::vector<std::string>& items, std::string_view name);
std::string RemoveDuplicateItems(std::string_view text, std::string_view separator);
int IndexOfText(const std::vector<std::string>& items, std::string_view text);

}  // namespace korvel
