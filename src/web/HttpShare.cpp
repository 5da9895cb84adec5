#include "web/HttpShare.h"

#include "web/HttpSettings.h"

#include <array>
#include <mutex>
#include <vector>

namespace korvel {
namespace {

// Idle handles kept per kind; more idle than this at once is rare (the window runs at most two
// requests at a time) and the surplus is closed.
constexpr size_t MaxIdleHandles = 4;

std::array<std::mutex, CURL_LOCK_DATA_LAST>& ShareLocks()
{
    static std::array<std::mutex, CURL_LOCK_DATA_LAST> locks;
    return locks;
}

void LockShare(CURL*, curl_lock_data data, curl_lock_access, void*)
{
    ShareLocks()[static_cast<size_t>(data)].lock();
}

void UnlockShare(CURL*, curl_lock_data data, void*)
{
    ShareLocks()[static_cast<size_t>(data)].unlock();
}

void InitGlobalOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

// The handle goes before its memo's lists, which it may still point to.
struct HandleLease::Pooled {
    HandleMemo memo;
    CURL* curl = nullptr;
    CURLM* multi = nullptr;
    char errorText[CURL_ERROR_SIZE] = {};
    ~Pooled()
    {
        if (curl)
            curl_easy_cleanup(curl);
        if (multi)
            curl_multi_cleanup(multi);
    }
};

namespace {

struct IdleHandles {
    std::mutex mutex;
    // [cookieStore], then the kept session's
    std::array<std::vector<std::unique_ptr<HandleLease::Pooled>>, 3> byKind;
};

IdleHandles& Idle()
{
    // Never destroyed: requests may still run on other threads while the process exits.
    static auto* idle = new IdleHandles;
    return *idle;
}

CURLSH* MakeShare(bool cookies)
{
    InitGlobalOnce();
    CURLSH* s = curl_share_init();
    curl_share_setopt(s, CURLSHOPT_LOCKFUNC, LockShare);
    curl_share_setopt(s, CURLSHOPT_UNLOCKFUNC, UnlockShare);
    if (cookies)
        curl_share_setopt(s, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
    curl_share_setopt(s, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    curl_share_setopt(s, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
    return s;
}

}  // namespace

CURLSH* HttpShare()
{
    static CURLSH* const share = MakeShare(true);
    return share;
}

CURLSH* HttpShareWithoutCookies()
{
    static CURLSH* const share = MakeShare(false);
    return share;
}

HandleLease::HandleLease(bool cookieStore, bool session) : kind_(session ? 2 : cookieStore ? 1 : 0)
{
    {
        auto& idle = Idle();
        std::lock_guard lock(idle.mutex);
        auto& handles = idle.byKind[kind_];
        if (!handles.empty()) {
            handle_ = std::move(handles.back());
            handles.pop_back();
            return;
        }
    }
    auto fresh = std::make_unique<Pooled>();
    fresh->curl = curl_easy_init();
    fresh->multi = curl_multi_init();
    if (!fresh->curl || !fresh->multi)
        return;
    curl_easy_setopt(fresh->curl, CURLOPT_SHARE, session ? HttpShareWithoutCookies() : HttpShare());
    curl_easy_setopt(fresh->curl, CURLOPT_ERRORBUFFER, fresh->errorText);
    // An empty file name only switches the cookie engine on: over the shared store, or the
    // handle's own for a session. Set once per handle: curl_easy_reset would lose the setting's
    // list without freeing it.
    if (cookieStore || session)
        curl_easy_setopt(fresh->curl, CURLOPT_COOKIEFILE, "");
    handle_ = std::move(fresh);
}

HandleLease::~HandleLease()
{
    if (!handle_)
        return;
    auto& idle = Idle();
    std::lock_guard lock(idle.mutex);
    auto& handles = idle.byKind[kind_];
    if (handles.size() < MaxIdleHandles)
        handles.push_back(std::move(handle_));
}

CURL* HandleLease::handle() const
{
    return handle_ ? handle_->curl : nullptr;
}

CURLM* HandleLease::multi() const
{
    return handle_->multi;
}

const char* HandleLease::errorText() const
{
    return handle_->errorText;
}

HandleMemo& HandleLease::memo() const
{
    return handle_->memo;
}

void CloseIdleConnections()
{
    std::vector<std::unique_ptr<HandleLease::Pooled>> closing;
    {
        auto& idle = Idle();
        std::lock_guard lock(idle.mutex);
        for (auto& handles : idle.byKind) {
            for (auto& handle : handles)
                closing.push_back(std::move(handle));
            handles.clear();
        }
    }
}

}  // namespace korvel
