#include "web/HttpClient.h"

#include <curl/curl.h>

#include <memory>

#include "web/CaBundle.h"
#include "web/HttpSettings.h"
#include "web/HttpShare.h"

namespace korvel {
namespace {

struct Received {
    Bytes body;
    std::string headers;
    size_t maxBodyBytes = 0;
};

size_t TakeBody(char* data, size_t size, size_t count, void* user)
{
    auto* received = static_cast<Received*>(user);
    const size_t n = size * count;
    // Returning less than was offered makes the client abandon the transfer.
    if (n > received->maxBodyBytes - received->body.size())
        return 0;
    received->body.append(data, n);
    return n;
}

size_t TakeHeader(char* data, size_t size, size_t count, void* user)
{
    auto* received = static_cast<Received*>(user);
    const size_t n = size * count;
    // Redirects the client follows itself bring one block per hop: keep the last.
    if (std::string_view(data, n).starts_with("HTTP/"))
        received->headers.clear();
    received->headers.append(data, n);
    return n;
}

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
// form "Name;" makes it send the line with an empty value, as the block says.
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

void SetBody(CURL* h, const Exchange& e)
{
    if (!e.sendBody) {
        curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, static_cast<const char*>(nullptr));
        return;
    }
    curl_easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(e.body.size()));
    curl_easy_setopt(h, CURLOPT_POSTFIELDS, e.body.data());
    curl_easy_setopt(h, CURLOPT_CUSTOMREQUEST, e.post ? static_cast<const char*>(nullptr) : "GET");
}

// Options every request shares, set once per handle.
void Prepare(CURL* h)
{
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    // The bundle holds the whole system store. Without a CA folder as well, libcurl keeps the
    // parsed bundle between connections instead of parsing ~150 certificates for each new one.
    curl_easy_setopt(h, CURLOPT_CAPATH, static_cast<const char*>(nullptr));
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 30L);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, TakeBody);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, TakeHeader);
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
    const long connect = static_cast<long>(s.connectTimeout.count());
    const long idle = static_cast<long>(s.idleTimeout.count());
    const long reuse = s.connectionReuse ? 1L : 0L;
    if (connect != memo.connectTimeout)
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, connect);
    if (idle != memo.idleTimeout)
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, idle);
    if (reuse != memo.reuse) {
        curl_easy_setopt(h, CURLOPT_FORBID_REUSE, 1L - reuse);
        curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, 1L - reuse);
    }
    memo.connectTimeout = connect;
    memo.idleTimeout = idle;
    memo.reuse = reuse;
}

void SetConnection(CURL* h, const Exchange& e)
{
    // An empty proxy also keeps libcurl from taking one from http_proxy and the like.
    const bool viaProxy = e.proxy && !e.secure;
    curl_easy_setopt(h, CURLOPT_PROXY, viaProxy ? e.proxy->c_str() : "");
}

void SetRedirects(CURL* h, const Exchange& e)
{
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, e.noRedirect ? 0L : 1L);
    // A plain request may be sent on to https; a secure one never falls back to plain HTTP.
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, e.secure ? "https" : "http,https");
}

}  // namespace

std::string ClientAddress(const Exchange& e)
{
    static const char hex[] = "0123456789ABCDEF";
    // A query written straight after the host ("http://host?a=1") is no part of the host name.
    const std::string host = e.host.substr(0, e.host.find_first_of("?#"));
    // Port 0 (an empty or unreadable port text) means the scheme's default, as it does for
    // the platform client.
    const int port = e.port != 0 ? e.port : (e.secure ? 443 : 80);
    std::string address = std::string(e.secure ? "https://" : "http://") + host + ":" + std::to_string(port);
    for (const unsigned char c : e.path) {
        if (c <= 0x20 || c == 0x7F) {
            address += '%';
            address += hex[c >> 4];
            address += hex[c & 0x0F];
        } else {
            address += static_cast<char>(c);
        }
    }
    return address;
}

Reply PerformExchange(const Exchange& e)
{
    const HttpSettings settings = CurrentHttpSettings();
    HandleLease lease(e.cookieStore);
    CURL* h = lease.handle();
    if (!h)
        return {false, false, {}, {}};
    Received received;
    received.maxBodyBytes = settings.maxBodyBytes;
    std::vector<std::string> lines;
    lines.reserve(e.headerLines.size() + 1);
    for (const std::string& line : e.headerLines)
        lines.push_back(ForClient(line));
    lines.push_back("Expect:");  // send the body at once, as the block says, without a go-ahead
    const SList headers = MakeList(lines);
    const std::string address = ClientAddress(e);

    ApplySettings(h, lease.memo(), settings);
    curl_easy_setopt(h, CURLOPT_URL, address.c_str());
    curl_easy_setopt(h, CURLOPT_USERAGENT, e.userAgent.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    SetBody(h, e);
    SetConnection(h, e);
    SetRedirects(h, e);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &received);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &received);

    const CURLcode result = curl_easy_perform(h);
    if (result == CURLE_OK)
        return {true, true, std::move(received.body), std::move(received.headers)};
    // An address the client cannot even begin a request for stands where the connection or the
    // request could not be opened; any later failure is one of the send.
    const bool opened =
        !received.headers.empty() || (result != CURLE_URL_MALFORMAT && result != CURLE_FAILED_INIT);
    return {opened, false, {}, {}};
}

}  // namespace korvel
