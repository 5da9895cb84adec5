#include "web/HttpRequest.h"

#include "web/HttpCall.h"

namespace korvel {
namespace {

HttpCall CallOf(const std::string& url, int method, HttpOptions& options)
{
    HttpCall call;
    call.url = url;
    call.method = method;
    if (method != 0)
        call.body = options.postBytes.empty() ? options.postText : options.postBytes;
    call.extraHeaders = std::move(options.extraHeaders);
    if (options.cookieJar)
        call.cookieJar = *options.cookieJar;
    if (options.location)
        call.location = *options.location;
    call.session = options.session;
    call.noRedirect = options.noRedirect;
    call.proxy = options.proxy;
    call.cancel = options.cancel;
    call.sendOnce = options.sendOnce;
    call.recentConnectionsOnly = options.recentConnectionsOnly;
    call.followAllowed = std::move(options.followAllowed);
    return call;
}

// The reply into the caller's variables; those not given are left alone.
void Hand(HttpReply& reply, const HttpOptions& options)
{
    if (options.cookieJar && reply.cookieJar)
        *options.cookieJar = std::move(*reply.cookieJar);
    if (options.returnedCookies)
        *options.returnedCookies = std::move(reply.returnedCookies);
    if (options.location)
        *options.location = std::move(reply.location);
    if (options.rawHeaders)
        *options.rawHeaders = std::move(reply.rawHeaders);
}

}  // namespace

Bytes HttpRequest(const std::string& url, int method, HttpOptions options)
{
    HttpReply reply = Send(CallOf(url, method, options));
    if (options.outcome)
        *options.outcome = reply.outcome;
    // Nothing was sent: the caller's variables keep what they held.
    if (!reply.sent)
        return {};
    Hand(reply, options);
    return std::move(reply.body);
}

}  // namespace korvel
