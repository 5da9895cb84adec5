#pragma once

// The steps of Send that need no server: choosing the agent, building the request's header
// block, and reading Location, Set-Cookie and a "301 Moved" out of the response's header block.

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

extern const char* const DefaultUserAgent;

// The agent named by a User-Agent line of the caller's header text, or the default agent.
std::string ChooseUserAgent(std::string_view extraHeaders);

// Appends the default Referer, Accept, Accept-Language and Content-Type lines the text lacks (the
// names are matched with their letter case), then a Cookie line when the jar is not empty.
void AppendDefaultHeaders(std::string& headers, std::string_view url, std::string_view cookieJar);

// The lines of a header block, in order, as the client is to send them.
std::vector<std::string> HeaderLines(std::string_view headers);

// Sets location from the last "Location:" line (when there is one) and returnedCookies to the
// name=value parts of the "Set-Cookie" lines joined by "; ". Header names are case-sensitive.
void ReadResponseHeaders(std::string_view rawHeaders, std::string& location, std::string& returnedCookies);

// True when the block's status is "HTTP/1.1 301 Moved…", the one redirect Send repeats itself.
bool IsMoved301(std::string_view rawHeaders);

// The address of that repeat: the Location value followed by the old address's path and query.
std::string FollowUpAddress(std::string_view location, std::string_view url);

}  // namespace korvel
