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

using SList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

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

void SetConnection(CURL* h, const Exchange& e, const HttpSettings& s)
{
    curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(h, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(s.connectTimeout.count()));
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(s.idleTimeout.count()));
    curl_easy_setopt(h, CURLOPT_CAINFO, CaBundlePath(s.extraCaFile).c_str());
    // The bundle holds the whole system store. Without a CA folder as well, libcurl keeps the
    // parsed bundle between connections instead of parsing ~150 certificates for each new one.
    curl_easy_setopt(h, CURLOPT_CAPATH, static_cast<const char*>(nullptr));
    // An empty proxy also keeps libcurl from taking one from http_proxy and the like.
    const bool viaProxy = e.proxy && !e.secure;
    curl_easy_setopt(h, CURLOPT_PROXY, viaProxy ? e.proxy->c_str() : "");
    curl_easy_setopt(h, CURLOPT_FORBID_REUSE, s.connectionReuse ? 0L : 1L);
    curl_easy_setopt(h, CURLOPT_FRESH_CONNECT, s.connectionReuse ? 0L : 1L);
}

void SetRedirects(CURL* h, const Exchange& e)
{
    curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, e.noRedirect ? 0L : 1L);
    curl_easy_setopt(h, CURLOPT_MAXREDIRS, 30L);
    // A plain request may be sent on to https; a secure one never falls back to plain HTTP.
    curl_easy_setopt(h, CURLOPT_REDIR_PROTOCOLS_STR, e.secure ? "https" : "http,https");
}

}  // namespace

std::string ClientAddress(const Exchange& e)
{
    static const char hex[] = "0123456789ABCDEF";
    // A query written straight after the host ("http://host?a=1") is no part of the host name.
    const std::string host = e.host.substr(0, e.host.find_first_of("?#"));
    std::string address =
        std::string(e.secure ? "https://" : "http://") + host + ":" + std::to_string(e.port);
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
        return {};
    Received received;
    received.maxBodyBytes = settings.maxBodyBytes;
    std::vector<std::string> lines = e.headerLines;
    lines.push_back("Expect:");  // send the body at once, as the block says, without a go-ahead
    const SList headers = MakeList(lines);
    const SList connectTo = MakeList(SplitEntries(settings.connectTo));
    const std::string address = ClientAddress(e);

    curl_easy_setopt(h, CURLOPT_URL, address.c_str());
    curl_easy_setopt(h, CURLOPT_USERAGENT, e.userAgent.c_str());
    curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(h, CURLOPT_CONNECT_TO, connectTo.get());
    SetBody(h, e);
    SetConnection(h, e, settings);
    SetRedirects(h, e);
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, TakeBody);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &received);
    curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, TakeHeader);
    curl_easy_setopt(h, CURLOPT_HEADERDATA, &received);

    if (curl_easy_perform(h) != CURLE_OK)
        return {};
    return {true, std::move(received.body), std::move(received.headers)};
}

}  // namespace korvel
