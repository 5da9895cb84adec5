#include "demo-shop/DemoShop.h"

#include <filesystem>
#include <mutex>

#include "demo-shop/ShopPages.h"
#include "demo-shop/ShopRequest.h"
#include "demo-shop/ShopRoutes.h"
#include "demo-shop/SignIn.h"
#include "support/FaultServer.h"

namespace korvel::demo {

struct DemoShop::State {
    mutable std::mutex mutex;
    DemoShopOptions options;
    std::vector<RecordedRequest> log;
    std::shared_ptr<PageCache> pages = std::make_shared<PageCache>();  // for these options only
    std::optional<tools::TlsFiles> tls;
    bool ownsTls = false;
    std::unique_ptr<tools::FaultServer> server;
    int port = 0;

    DemoShopOptions snapshot() const
    {
        std::lock_guard lock(mutex);
        return options;
    }
    std::pair<DemoShopOptions, std::shared_ptr<PageCache>> snapshotWithPages() const
    {
        std::lock_guard lock(mutex);
        return {options, pages};
    }
    void record(const RecordedRequest& request)
    {
        std::lock_guard lock(mutex);
        log.push_back(request);
    }

    tools::FaultReply answer(const std::string& raw);
};

// Every request is logged and delayed before it is answered; unknown paths get a 404.
tools::FaultReply DemoShop::State::answer(const std::string& raw)
{
    const RecordedRequest request = ParseShopRequest(raw);
    record(request);
    const auto [now, cache] = snapshotWithPages();
    tools::FaultReply reply = AnswerNotFound();
    if (IsSignInHost(HostOf(request)))
        reply = AnswerSignIn(request);
    else if (auto signIn = SignInRequired(now, request))
        reply = *signIn;
    else if (request.path == "/search.htm" && request.method == "POST")
        reply = AnswerTaobaoResult(now, *cache, request);
    else if (request.path == "/search.htm" && request.method == "GET")
        reply = AnswerTmallShop(now, *cache, request);
    else if (request.path == "/i/asynSearch.htm" && (request.method == "GET" || request.method == "POST"))
        reply = AnswerTmallResult(now, *cache, request);
    reply.delay = now.delay;
    return reply;
}

DemoShop::DemoShop(DemoShopOptions options) : state_(std::make_unique<State>())
{
    state_->options = std::move(options);
    state_->pages = std::make_shared<PageCache>();
}

DemoShop::~DemoShop()
{
    stop();
}

bool DemoShop::start()
{
    auto& st = *state_;
    if (st.server)
        return st.port > 0;
    st.tls = st.options.tls;
    if (!st.tls) {
        const std::string dir = tools::MakeTempDir("korvel-demo-shop");
        st.tls = dir.empty() ? std::nullopt
                             : tools::MakeThrowawayTls(dir, {"*.taobao.com", "taobao.com", "*.tmall.com",
                                                             "tmall.com", "localhost", "127.0.0.1"});
        st.ownsTls = !dir.empty();
        if (!st.tls) {
            std::error_code ignored;
            std::filesystem::remove_all(dir, ignored);
            st.ownsTls = false;
            return false;
        }
    }
    st.server = std::make_unique<tools::FaultServer>([&st](const std::string& raw) { return st.answer(raw); },
                                                     st.tls, std::max(st.options.port, 0));
    st.port = st.server->port();
    return st.port > 0;
}

void DemoShop::stop()
{
    auto& st = *state_;
    st.server.reset();
    if (st.ownsTls && st.tls) {
        std::error_code ignored;
        std::filesystem::remove_all(st.tls->dir, ignored);
        st.ownsTls = false;
    }
}

int DemoShop::port() const
{
    return state_->port;
}

std::string DemoShop::caFile() const
{
    return state_->tls ? state_->tls->caCert : std::string();
}

std::string DemoShop::connectTo(const std::string& host) const
{
    return host + ":443:127.0.0.1:" + std::to_string(state_->port);
}

std::string DemoShop::tmallQuery() const
{
    return TmallQuery(options());
}

DemoShopOptions DemoShop::options() const
{
    return state_->snapshot();
}

void DemoShop::setOptions(DemoShopOptions options)
{
    std::lock_guard lock(state_->mutex);
    options.tls = state_->options.tls;
    options.port = state_->options.port;
    state_->options = std::move(options);
    state_->pages = std::make_shared<PageCache>();
}

std::vector<RecordedRequest> DemoShop::requests() const
{
    std::lock_guard lock(state_->mutex);
    return state_->log;
}

void DemoShop::clearRequests()
{
    std::lock_guard lock(state_->mutex);
    state_->log.clear();
}

}  // namespace korvel::demo
