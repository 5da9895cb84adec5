// The address, header-block and cookie helpers under every request, and the header callback with
// the collection's refusal of login redirects, fed what a server or a typed address can hold. Input: five
// bytes of numbers (search start, case flag), then url \0 response headers \0 cookie jar \0 returned cookies
// \0 caller's headers \0 start marker \0 end marker.

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "collect/PageFetch.h"
#include "text/Text.h"
#include "web/ClientCallbacks.h"
#include "web/HeaderBlock.h"
#include "web/UrlHelpers.h"

namespace korvel::fuzz {
namespace {

bool Contains(const std::vector<std::string>& items, const std::string& item)
{
    return std::find(items.begin(), items.end(), item) != items.end();
}

bool IsDeleted(const std::string& item)
{
    return item.size() >= 8 && item.compare(item.size() - 8, 8, "=deleted") == 0;
}

std::string Ascii(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(c & 0x7F);
    return text;
}

// On ASCII cookies the merge has a plain reading: returned cookies first, then the first old
// cookie of every name the response did not mention; deleted ones and exact repeats gone.
void CheckMergedCookies(const std::string& jar, const std::string& returned)
{
    std::string merged = jar;
    std::string returnedAfter = returned;
    MergeCookies(merged, returnedAfter);
    Require(returnedAfter == DeleteSpaces(returned), "the returned cookies only lose their spaces");
    const std::vector<std::string> fresh = SplitText(returnedAfter, ";");
    const std::vector<std::string> old = SplitText(DeleteSpaces(jar), ";");
    const std::vector<std::string> result = SplitText(merged, "; ");
    std::vector<std::string> seen;
    for (const std::string& item : result) {
        Require(!Contains(seen, item), "a merged jar holds each cookie once");
        Require(!IsDeleted(item), "a merged jar holds no deleted cookie");
        Require(Contains(fresh, item) || Contains(old, item), "a merged jar holds only cookies it was given");
        seen.push_back(item);
    }
    std::vector<std::string> names;
    for (const std::string& item : fresh) {
        Require(item.empty() || IsDeleted(item) || Contains(result, item), "every returned cookie is kept");
        names.push_back(CookieName(item));
    }
    for (const std::string& item : old) {
        const bool firstOfItsName = !Contains(names, CookieName(item));
        names.push_back(CookieName(item));
        Require(!firstOfItsName || item.empty() || IsDeleted(item) || Contains(result, item),
                "an old cookie the response did not mention is kept");
    }
}

void CheckAddress(const std::string& url, const std::string& location)
{
    for (const bool rootOnly : {false, true}) {
        for (const bool keepPort : {false, true})
            UrlHost(url, rootOnly, keepPort);
    }
    UrlPort(url);
    IsLoginAddress(url);
    const std::string path = UrlPath(url);
    Require(!path.empty() && path.front() == '/', "a path begins with /");
    Require(FollowUpAddress(location, url) == location + path, "a follow-up address keeps the old path");
}

void CheckRequestHeaders(const std::string& callerHeaders, const std::string& url, const std::string& jar)
{
    ChooseUserAgent(callerHeaders);
    std::string headers = callerHeaders;
    AppendDefaultHeaders(headers, url, jar);
    Require(headers.compare(0, callerHeaders.size(), callerHeaders) == 0, "the caller's headers come first");
    for (const char* name : {"Referer:", "Accept:", "Accept-Language:", "Content-Type:"})
        Require(FindText(headers, name) != -1, "every default header is there");
    const std::string cookieLine = "\r\nCookie: " + jar;
    Require(jar.empty() ||
                headers.compare(headers.size() - cookieLine.size(), std::string::npos, cookieLine) == 0,
            "a jar ends the headers as a Cookie line");
    for (const std::string& line : HeaderLines(headers))
        Require(!line.empty(), "no header line is empty");
}

// The block as the client hands it over, line by line, to the callback that keeps the last hop's
// lines and refuses a redirect to the marketplace's login or a body announced over the limit.
std::string KeptBlock(const std::string& raw)
{
    const std::function<bool(std::string_view)> follow = [](std::string_view to) {
        return !IsLoginAddress(to);
    };
    Received received;
    received.followAllowed = &follow;
    received.maxBodyBytes = 1 << 20;
    for (std::size_t from = 0; from < raw.size();) {
        const std::size_t end = std::min(raw.find('\n', from), raw.size() - 1) + 1;
        std::string line = raw.substr(from, end - from);
        const std::size_t taken = TakeHeader(line.data(), 1, line.size(), &received);
        Require(taken == line.size() ||
                    (taken == 0 && (IsLoginAddress(received.refusedLocation) || received.notes.bodyTooLarge)),
                "only a redirect to a login or a body over the limit is refused");
        from = end;
    }
    for (std::size_t at = received.headers.find('\n'); at != std::string::npos;
         at = received.headers.find('\n', at + 1))
        Require(at > 0 && received.headers[at - 1] == '\r', "the kept block ends its lines with CR LF");
    return received.headers;
}

void CheckLocation(const std::string& block)
{
    std::string location = "unchanged";
    std::string cookies;
    ReadResponseHeaders(block, location, cookies);
    Require(location == "unchanged" || block.find(location) != std::string::npos,
            "Location comes from the block");
    IsMoved301(block);
}

void CheckResponseHeaders(const std::string& raw, const std::string& start, const std::string& end, int from,
                          bool caseSensitive)
{
    CheckLocation(raw);
    CheckLocation(KeptBlock(raw));
    const std::string between = TextBetween(raw, start, end, from, caseSensitive);
    Require(raw.find(between) != std::string::npos, "TextBetween cuts from the text");
    Require(raw.find(HeaderValue(raw)) != std::string::npos, "a header value is cut from its line");
    RemoveDuplicateItems(raw, start);
}

}  // namespace
}  // namespace korvel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace korvel::fuzz;
    const auto [numbers, fields] = SplitInput(data, size, 5);
    int from = 0;
    std::memcpy(&from, numbers.data(), 4);
    const std::string url = Field(fields, 0);
    const std::string raw = Field(fields, 1);
    const std::string jar = Field(fields, 2);
    const std::string returned = Field(fields, 3);
    CheckAddress(url, returned);
    CheckRequestHeaders(Field(fields, 4), url, jar);
    CheckResponseHeaders(raw, Field(fields, 5), Field(fields, 6), from, numbers[4] & 1);
    std::string anyJar = jar;
    std::string anyReturned = returned;
    korvel::MergeCookies(anyJar, anyReturned);
    CheckMergedCookies(Ascii(jar), Ascii(returned));
    return 0;
}
