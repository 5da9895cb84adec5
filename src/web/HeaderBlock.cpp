#include "web/HeaderBlock.h"

#include "text/Text.h"
#include "web/UrlHelpers.h"

namespace korvel {

const char* const DefaultUserAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; Q4R7T; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; "
    ".NET CLR 3.5.21022)";

std::string ChooseUserAgent(std::string_view extraHeaders)
{
    if (FindText(extraHeaders, "User-Agent:", 1, true) == -1)
        return DefaultUserAgent;
    std::string agent = TrimSpaces(TextBetween(extraHeaders, "User-Agent:", "\r\n"));
    if (agent.empty())
        agent = HeaderValue(extraHeaders);
    return agent;
}

void AppendDefaultHeaders(std::string& headers, std::string_view url, std::string_view cookieJar)
{
    const auto lacks = [&headers](std::string_view name) { return FindText(headers, name) == -1; };
    if (lacks("Referer:"))
        headers += (headers.empty() ? "Referer: " : "\r\nReferer: ") + std::string(url);
    if (lacks("Accept:"))
        headers += "\r\nAccept: */*";
    if (lacks("Accept-Language:"))
        headers += "\r\nAccept-Language: zh-cn";
    if (lacks("Content-Type:"))
        headers += "\r\nContent-Type: application/x-www-form-urlencoded";
    if (!cookieJar.empty())
        headers += "\r\nCookie: " + std::string(cookieJar);
}

std::vector<std::string> HeaderLines(std::string_view headers)
{
    std::vector<std::string> lines;
    for (std::string& line : SplitText(headers, "\r\n")) {
        if (!line.empty())
            lines.push_back(std::move(line));
    }
    return lines;
}

void ReadResponseHeaders(std::string_view rawHeaders, std::string& location, std::string& returnedCookies)
{
    returnedCookies.clear();
    for (const std::string& line : SplitText(rawHeaders, "\r\n")) {
        if (FindText(line, "Location:") != -1)
            location = HeaderValue(line);
        if (FindText(line, "Set-Cookie") != -1)
            returnedCookies += TrimSpaces(TextBetween(line, "Set-Cookie:", ";")) + "; ";
    }
    if (returnedCookies.size() >= 2)
        returnedCookies.resize(returnedCookies.size() - 2);
}

bool IsMoved301(std::string_view rawHeaders)
{
    return TextBetween(rawHeaders, "HTTP/1.1 ", " Moved") == "301";
}

std::string FollowUpAddress(std::string_view location, std::string_view url)
{
    return std::string(location) + UrlPath(url);
}

}  // namespace korvel
