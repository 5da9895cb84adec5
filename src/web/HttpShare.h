#pragma once

// What the HTTP client keeps for the whole process: one share for the client's own cookie store,
// its DNS cache and its TLS sessions, and the idle easy handles that hold open connections.

#include <curl/curl.h>

#include <memory>
#include <string>

namespace korvel {

using SList = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

// What a lent handle was last set to, kept with it so that a borrower sets only what changed.
struct HandleMemo {
    bool prepared = false;  // the options every request shares are set
    std::string caFile;
    std::string connectTo;
    SList connectToList{nullptr, curl_slist_free_all};
    long connectTimeout = -1;
    long idleTimeout = -1;
    long idleSpeed = -1;
    long totalTimeout = -1;
    long reuse = -1;
};

// The process-wide share; each kind of data behind its own mutex, so any thread may use it.
CURLSH* HttpShare();
// The same without the cookie store, for the handles of a kept session: their cookies stay theirs.
CURLSH* HttpShareWithoutCookies();

// Lends one easy handle, attached to the share, to a single request, and takes it back. A lent
// handle keeps the options of its previous request: the borrower sets every option it relies on,
// or checks its memo for those it set before.
// libcurl's shared connection cache is not safe across threads (a known libcurl fault), so open
// connections stay inside idle handles instead: a request on any thread takes an idle handle and
// with it the connections the earlier requests left open. Requests that use the client's cookie
// store, requests that bring their own jar and requests that carry a kept session draw from
// separate handles, so a handle never carries the cookie engine from one kind to another.
class HandleLease {
public:
    explicit HandleLease(bool cookieStore, bool session = false);
    ~HandleLease();
    HandleLease(const HandleLease&) = delete;
    HandleLease& operator=(const HandleLease&) = delete;

    CURL* handle() const;
    // The handle's own multi handle, which drives its transfers and keeps its open connections.
    CURLM* multi() const;
    HandleMemo& memo() const;
    // libcurl's error text of the handle's last transfer.
    const char* errorText() const;

    struct Pooled;

private:
    size_t kind_;
    std::unique_ptr<Pooled> handle_;
};

}  // namespace korvel
