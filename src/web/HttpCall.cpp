#include "web/HttpCall.h"

#include "web/HeaderBlock.h"
#include "web/HttpClient.h"
#include "web/UrlHelpers.h"

namespace korvel {
namespace {

// A server answering "301 Moved" again and again would otherwise be asked forever; past this many
// repeats the request fails as one with too many redirects (the client's own following stops at the
// same count) and the last response's body is returned.
constexpr int MaxOwnFollowUps = MaxRedirects;

Exchange ExchangeOf(const std::string& url, const HttpCall& call)
{
    Exchange exchange;
    exchange.post = call.method == 1;
    exchange.userAgent = ChooseUserAgent(call.extraHeaders);
    exchange.secure = ToLowerAscii(LeftText(url, 5)) == "https";
    exchange.host = UrlHost(url);
    exchange.port = UrlPort(url);
    exchange.path = UrlPath(url);
    exchange.proxy = call.proxy;
    exchange.noRedirect = call.noRedirect;
    exchange.cookieStore = !call.cookieJar;
    exchange.session = call.cookieJar ? nullptr : call.session;
    exchange.cancel = call.cancel;
    exchange.sendOnce = call.sendOnce;
    exchange.recentConnectionsOnly = call.recentConnectionsOnly;
    exchange.followAllowed = call.followAllowed;
    return exchange;
}

// One request at `url`. The call's header lines grow by the default block, which a repeat after
// "301 Moved" sends on as it stands. False when no request could be begun.
bool SendOnce(const std::string& url, HttpCall& call, HttpReply& reply)
{
    Exchange exchange = ExchangeOf(url, call);
    AppendDefaultHeaders(call.extraHeaders, url, call.cookieJar ? *call.cookieJar : std::string());
    exchange.headerLines = HeaderLines(call.extraHeaders);
    if (call.method != 0) {
        exchange.sendBody = true;
        exchange.body = call.body;
    }
    Reply answer = PerformExchange(exchange);
    reply.outcome = answer.outcome;
    if (!answer.opened)
        return false;
    reply.sent = true;
    reply.rawHeaders = std::move(answer.rawHeaders);
    ReadResponseHeaders(reply.rawHeaders, reply.location, reply.returnedCookies);
    if (call.cookieJar)
        MergeCookies(*call.cookieJar, reply.returnedCookies);
    if (reply.location.empty())
        reply.location = reply.rawHeaders;
    reply.body = std::move(answer.body);
    return true;
}

// The rule libcurl applies to the redirects it follows (HttpClient's SetRedirects), for the repeats
// made here: a secure request never goes on to plain HTTP, where the session's cookies would travel
// in clear text, and nothing goes on to a scheme other than http or https. A Location without a
// scheme is sent on as before.
bool MayFollowUp(std::string_view from, std::string_view to)
{
    const size_t schemeEnd = to.find("://");
    if (schemeEnd == std::string_view::npos)
        return true;
    const std::string scheme = ToLowerAscii(to.substr(0, schemeEnd));
    const bool fromSecure = ToLowerAscii(LeftText(from, 5)) == "https";
    return scheme == "https" || (scheme == "http" && !fromSecure);
}

}  // namespace

HttpReply Send(HttpCall call)
{
    HttpReply reply;
    reply.location = call.location;
    std::string address = call.url;
    for (int followUps = 0;; ++followUps) {
        const bool opened = SendOnce(address, call, reply);
        reply.cookieJar = call.cookieJar;
        if (!opened) {
            reply.body.clear();
            return reply;
        }
        const bool cancelled = call.cancel && call.cancel->cancelled();
        if (cancelled || reply.outcome.failure != HttpFailure::None || !IsMoved301(reply.rawHeaders))
            return reply;
        if (followUps == MaxOwnFollowUps) {
            reply.outcome.failure = HttpFailure::TooManyRedirects;
            return reply;
        }
        std::string next = FollowUpAddress(reply.location, address);
        if (!MayFollowUp(address, next)) {
            reply.outcome.failure = HttpFailure::Other;
            reply.outcome.detail = "redirect to " + next.substr(0, next.find("://")) + " refused after " +
                                   ToLowerAscii(address.substr(0, address.find("://")));
            reply.body.clear();
            return reply;
        }
        address = std::move(next);
        reply.location.clear();
    }
}

}  // namespace korvel
