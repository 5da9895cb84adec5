#include "demo-shop/DemoShop.h"

#include <httplib.h>

#include <chrono>
#include <filesystem>
#include <mutex>
#include <thread>

#include "demo-shop/ShopPages.h"
#include "demo-shop/ShopRoutes.h"

namespace korvel::demo {

struct DemoShop::State {
    mutable std::mutex mutex;
    DemoShopOptions options;
    std::vector<RecordedRequest> log;
    std::shared_ptr<PageCache> pages = std::make_shared<PageCache>();  // for these options only
    std::optional<tools::TlsFiles> tls;
    bool ownsTls = false;
    std::unique_ptr<httplib::SSLServer> server;
    std::thread thread;
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
    void record(const httplib::Request& req)
    {
        RecordedRequest r{
            req.method, req.target, req.path, req.body, {req.headers.begin(), req.headers.end()}};
        std::lock_guard lock(mutex);
        log.push_back(std::move(r));
    }
    void route();
};

void DemoShop::State::route()
{
    // Every request is logged and delayed before it is answered; unknown paths get a 404.
    const auto serve = [this](auto answer) {
        return [this, answer](const httplib::Request& req, httplib::Response& res) {
            record(req);
            const auto [now, pages] = snapshotWithPages();
            if (now.delay.count() > 0)
                std::this_thread::sleep_for(now.delay);
            answer(now, *pages, req, res);
        };
    };
    const auto notFound = [](const DemoShopOptions&, PageCache&, const httplib::Request&,
                             httplib::Response& res) {
        res.status = 404;
        res.set_content("Not Found", "text/plain");
    };
    server->Post("/search.htm", serve(AnswerTaobaoResult));
    server->Get("/search.htm", serve(AnswerTmallShop));
    server->Post("/i/asynSearch.htm", serve(AnswerTmallResult));
    server->Get("/i/asynSearch.htm", serve(AnswerTmallResult));
    server->Get(".*", serve(notFound));
    server->Post(".*", serve(notFound));
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
    st.server = std::make_unique<httplib::SSLServer>(st.tls->serverCert.c_str(), st.tls->serverKey.c_str());
    // Without these every request waits ~45 ms for Nagle, and a kept connection ends after 5.
    st.server->set_tcp_nodelay(true);
    st.server->set_keep_alive_max_count(1000000);
    st.route();
    st.port = st.options.port > 0
                  ? (st.server->bind_to_port("127.0.0.1", st.options.port) ? st.options.port : -1)
                  : st.server->bind_to_any_port("127.0.0.1");
    if (!st.server->is_valid() || st.port <= 0)
        return false;
    st.thread = std::thread([&st] { st.server->listen_after_bind(); });
    // A stop() before the accept loop runs would go unseen and leave the join waiting forever.
    while (!st.server->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void DemoShop::stop()
{
    auto& st = *state_;
    if (st.thread.joinable()) {
        st.server->stop();
        st.thread.join();
    }
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
