#include "web/HttpRequest.h"

#include <optional>

#include "web/HeaderBlock.h"
#include "web/HttpClient.h"
#include "web/UrlHelpers.h"

namespace korvel {
namespace {

// A server answering "301 Moved" again and again would otherwise be followed until the stack runs
// out; past this many repeats the last response's body is returned.
constexpr int MaxOwnFollowUps = 10;

// The outputs of one request; the caller's variables where given, else stand-ins.
struct Outputs {
    std::string* cookieJar;
    std::string* returnedCookies;
    std::string* location;
    std::string* rawHeaders;
};

// One request: the header block and the body bytes are extended in `options`, as a repeat after
// "301 Moved" sends them on. Nothing when no request could be begun.
std::optional<Bytes> RequestOnce(const std::string& url, int method, HttpOptions& options, const Outputs& out)
{
    Exchange exchange;
    exchange.post = method == 1;
    exchange.userAgent = ChooseUserAgent(options.extraHeaders);
    exchange.secure = ToLowerAscii(LeftText(url, 5)) == "https";
    exchange.host = UrlHost(url);
    exchange.port = UrlPort(url);
    exchange.path = UrlPath(url);
    exchange.proxy = options.proxy;
    exchange.noRedirect = options.noRedirect;
    exchange.cookieStore = out.cookieJar == nullptr;
    exchange.session = out.cookieJar == nullptr ? options.session : nullptr;
    exchange.cancel = options.cancel;
    exchange.sendOnce = options.sendOnce;
    exchange.recentConnectionsOnly = options.recentConnectionsOnly;
    exchange.followAllowed = options.followAllowed;

    AppendDefaultHeaders(options.extraHeaders, url, out.cookieJar ? *out.cookieJar : std::string());
    exchange.headerLines = HeaderLines(options.extraHeaders);
    if (method != 0) {
        if (options.postBytes.empty())
            options.postBytes = options.postText;
        exchange.sendBody = true;
        exchange.body = options.postBytes;
    }

    Reply reply = PerformExchange(exchange);
    if (options.outcome)
        *options.outcome = reply.outcome;
    // Nothing was sent: the caller's variables keep what they held.
    if (!reply.opened)
        return std::nullopt;
    *out.rawHeaders = std::move(reply.rawHeaders);
    ReadResponseHeaders(*out.rawHeaders, *out.location, *out.returnedCookies);
    if (out.cookieJar)
        MergeCookies(*out.cookieJar, *out.returnedCookies);
    if (out.location->empty())
        *out.location = *out.rawHeaders;
    return std::move(reply.body);
}

}  // namespace

Bytes HttpRequest(const std::string& url, int method, HttpOptions options)
{
    std::string cookies;
    std::string location;
    std::string rawHeaders;
    const Outputs out{options.cookieJar, options.returnedCookies ? options.returnedCookies : &cookies,
                      options.location ? options.location : &location,
                      options.rawHeaders ? options.rawHeaders : &rawHeaders};

    std::string address = url;
    for (int followUps = 0;; ++followUps) {
        std::optional<Bytes> body = RequestOnce(address, method, options, out);
        if (!body)
            return {};
        const bool cancelled = options.cancel && options.cancel->cancelled();
        if (followUps == MaxOwnFollowUps || cancelled || !IsMoved301(*out.rawHeaders))
            return std::move(*body);
        address = FollowUpAddress(*out.location, address);
        out.location->clear();
    }
}

}  // namespace korvel
