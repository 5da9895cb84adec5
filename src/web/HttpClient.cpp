#include "web/HttpClient.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

#include "web/CaBundle.h"
#include "web/HttpSettings.h"
#include "web/ClientCallbacks.h"
#include "web/HttpShare.h"
#include "web/OnceBody.h"
#include "web/SessionEngine.h"
#include "web/Transfer.h"

namespace korvel {
namespace {

SList MakeList(const std::vector<std::string>& items)
{
    SList list(nullptr, curl_slist_free_all);
    for (const std::string& item : items) {
        curl_slist* grown = curl_slist_append(list.get(), item.c_str());
        if (!grown)
            break;
        list.release();
        list.reset(grown);
    }
    return list;
}

// libcurl drops a line with nothing after its colon (and with it its own line of that name); the
// form "Name;" makes it send the line with an empty value, as the caller wrote it.
std::string ForClient(const std::string& line)
{
    const size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0 ||
        line.find_first_not_of(" \t", colon + 1) != std::string::npos)
        return line;
    return line.substr(0, colon) + ";";
}

std::vector<std::string> SplitEntries(const std::string& entries)
{
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= entries.size()) {
        const size_t comma = std::min(entries.find(',', start), entries.size());
        if (comma > start)
            items.push_back(entries.substr(start, comma - start));
        start = comma + 1;
    }
    return items;
}

void SetBody(CURL* h, const Exchange& e, OnceBody& once)
{
    if (!e.sendBody) {
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, static_cast<const char*>(nullptr));
        return;
    }
    curl_easy_setopt(h, CURLOPT_POST, 1L);
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(e.body.size()));
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, e.sendOnce ? nullptr : e.body.data());
    curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, e.post ? static_cast<const char*>(nullptr) : "GET");
    once.bytes = e.body;
    once.handle = h;
    curl_easy_setopt(h, CURLOPT_READDATA, &once);
    curl_easy_setopt(h, CURLOPT_SEEKDATA, &once);
}

// Options every request shares, set once per handle.
void Prepare(CURL* h)
{
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    // "/a/../b" goes to the server as it stands, like every other path.
    curl_easy_setopt(h, CURLOPT_PATH_AS_IS, 1L);
    // The bundle holds the whole system store. Without a CA folder as well, libcurl keeps the
    // parsed bundle between connections instead of parsing ~150 certificates for each new one.
    curl_easy_setopt(h, CURLOPT_CAPATH, static_cast<const char*>(nullptr));
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, static_cast<long>(MaxRedirects));
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, TakeBody);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, TakeHeader);
    curl_easy_setopt(h, CURLOPT_READFUNCTION, ReadOnce);
    curl_easy_setopt(h, CURLOPT_SEEKFUNCTION, RewindOnce);
}

void ApplyLimits(CURL* h, HandleMemo& memo, const HttpSettings& s)
{
    const long connect = static_cast<long>(s.connectTimeout.count());
    const long idle = std::max(1L, static_cast<long>(s.idleTimeout.count()));
    // "Fewer than idleMinimumBytes in idleTimeout" as the client measures it: a rate in bytes/s.
    const long idleSpeed = std::max(1L, (s.idleMinimumBytes + idle - 1) / idle);
    const long total = static_cast<long>(s.totalTimeout.count());
    if (connect != memo.connectTimeout)
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, connect);
    if (idle != memo.idleTimeout)
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, idle);
    if (idleSpeed != memo.idleSpeed)
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, idleSpeed);
    if (total != memo.totalTimeout)
        curl_easy_setopt(h, CURLOPT_TIMEOUT, total);
    memo.connectTimeout = connect;
    memo.idleTimeout = idle;
    memo.idleSpeed = idleSpeed;
    memo.totalTimeout = total;
}

// The settings change seldom; a handle keeps them until they do.
void ApplySettings(CURL* h, HandleMemo& memo, const HttpSettings& s)
{
    if (!memo.prepared) {
        Prepare(h);
        memo.prepared = true;
    }
    const std::string caFile = CaBundlePath(s.extraCaFile);
    if (caFile != memo.caFile) {
        curl_easy_setopt(h, CURLOPT_CAINFO, caFile.c_str());
        memo.caFile = caFile;
    }
    if (s.connectTo != memo.connectTo) {
        SList list = MakeList(SplitEntries(s.connectTo));
        curl_easy_setopt(h, CURLOPT_CONNECT_TO, list.get());
        memo.connectToList = std::move(list);
        memo.connectTo = s.connectTo;
    }
    ApplyLimits(h, memo, s);
    const long reuse = s.connectionReuse ? 1L : 0L;
    if (reuse != memo.reuse) {
        curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L - reuse);
        curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L - reuse);
    }
    memo.reuse = reuse;
}

// libcurl's own limit for reusing an idle connection, in whole seconds of idleness.
constexpr long DefaultMaxIdleSeconds = 118;

void SetConnection(CURL* h, const Exchange& e)
{
    // 0: idle for less than a whole second.
    curl_easy_setopt(h, CURLOPT_MAXAGE_CONN, e.recentConnectionsOnly ? 0L : DefaultMaxIdleSeconds);
    // An empty proxy also keeps libcurl from taking one from http_proxy and the like.
    const bool viaProxy = e.proxy && !e.secure;
    curl_easy_setopt(h, CURLOPT_PROXY, viaProxy ? e.proxy->c_str() : "");
}

void SetRedirects(CURL* h, const Exchange& e, bool exactTarget)
{
    // A request target set by hand would go to every hop of a redirect as well: such a request is
    // not followed by the client.
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, e.noRedirect || exactTarget ? 0L : 1L);
    // A plain request may be sent on to https; a secure one never falls back to plain HTTP.
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, e.secure ? "https" : "http,https");
}

std::string Escaped(std::string_view text)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string escaped;
    for (const unsigned char c : text) {
        if (c <= 0x20 || c == 0x7F) {
            escaped += '%';
            escaped += hex[c >> 4];
            escaped += hex[c & 0x0F];
        } else {
            escaped += static_cast<char>(c);
        }
    }
    return escaped;
}

Reply Failed(Reply reply, CURL* h, CURLcode result, const char* errorText, const Received& received)
{
    reply.outcome = ReadOutcome(h, result, errorText, received.notes);
    reply.outcome.refusedLocation = received.refusedLocation;
    // A transfer abandoned past the size limit keeps nothing of what it read.
    if (received.notes.bodyTooLarge)
        reply.body.clear();
    // An address the client cannot even begin a request for stands where the connection or the
    // request could not be opened; any later failure is one of the send.
    reply.opened =
        !reply.rawHeaders.empty() || (result != CURLE_URL_MALFORMAT && result != CURLE_FAILED_INIT);
    return reply;
}

}  // namespace

std::string ClientAddress(const Exchange& e)
{
    // A query written straight after the host ("http://host?a=1") is no part of the host name.
    const std::string host = e.host.substr(0, e.host.find_first_of("?#"));
    // Port 0 (an empty or unreadable port text) means the scheme's default, as it does for
    // the platform client.
    const int port = e.port != 0 ? e.port : (e.secure ? 443 : 80);
    return std::string(e.secure ? "https://" : "http://") + host + ":" + std::to_string(port) + Escaped(e.path);
}

std::string ExactTarget(const Exchange& e)
{
    return e.path.find('#') == std::string::npos ? std::string() : Escaped(e.path);
}

Reply PerformExchange(const Exchange& e)
{
    const HttpSettings settings = CurrentHttpSettings();
    HandleLease lease(e.cookieStore, e.session != nullptr);
    CURL* h = lease.handle();
    if (!h) {
        Reply refused{false, {}, {}, {}};
        refused.outcome.failure = HttpFailure::Other;
        return refused;
    }
    Received received;
    received.maxBodyBytes = settings.maxBodyBytes;
    received.followAllowed = &e.followAllowed;
    std::vector<std::string> lines;
    lines.reserve(e.headerLines.size() + 1);
    for (const std::string& line : e.headerLines)
        lines.push_back(ForClient(line));
    lines.push_back("Expect:");  // send the body at once, without waiting for a go-ahead
    const SList headers = MakeList(lines);
    const std::string address = ClientAddress(e);
    const std::string target = ExactTarget(e);
    OnceBody once;

    ApplySettings(h, lease.memo(), settings);
    curl_easy_setopt(h, CURLOPT_URL, address.c_str());
    curl_easy_setopt(h, CURLOPT_REQUEST_TARGET, target.empty() ? nullptr : target.c_str());
    curl_easy_setopt(h, CURLOPT_USERAGENT, e.userAgent.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    SetBody(h, e, once);
    SetConnection(h, e);
    SetRedirects(h, e, !target.empty());
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &received);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &received);

    if (e.session)
        LoadSessionCookies(h, e.session->cookieLines());
    const CURLcode result = RunTransfer(h, lease.multi(), e.cancel);
    if (e.session)
        e.session->keep(EngineCookies(h));
    Reply reply{true, std::move(received.body), std::move(received.headers), {}};
    if (result == CURLE_OK) {
        reply.outcome = ReadOutcome(h, result, nullptr, received.notes);
        reply.outcome.retryAfter = HeaderValue(reply.rawHeaders, "retry-after");
        return reply;
    }
    return Failed(std::move(reply), h, result, lease.errorText(), received);
}

}  // namespace korvel
