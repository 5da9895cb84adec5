#include "support/LocalServer.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace korvel::test {

const tools::TlsFiles& TestTls()
{
    static const tools::TlsFiles files = [] {
        const std::string dir = tools::MakeTempDir("korvel-test-tls");
        auto made = tools::MakeThrowawayTls(
            dir, {"*.taobao.com", "taobao.com", "*.tmall.com", "tmall.com", "localhost", "127.0.0.1"});
        if (!made)
            throw std::runtime_error("could not make test TLS material in " + dir);
        return *made;
    }();
    return files;
}

LocalServer::LocalServer(bool tls) : tls_(tls)
{
    if (tls) {
        const auto& f = TestTls();
        server_ = std::make_unique<httplib::SSLServer>(f.serverCert.c_str(), f.serverKey.c_str());
    } else {
        server_ = std::make_unique<httplib::Server>();
    }
    server_->set_tcp_nodelay(true);
    server_->set_keep_alive_max_count(1000000);
}

LocalServer::~LocalServer() { stop(); }

void LocalServer::start()
{
    port_ = server_->bind_to_any_port("127.0.0.1");
    if (port_ <= 0)
        throw std::runtime_error("could not bind a test server on 127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    // A stop() before the accept loop runs would go unseen and leave the join waiting forever.
    while (!server_->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

void LocalServer::stop()
{
    if (thread_.joinable()) {
        server_->stop();
        thread_.join();
    }
}

std::string LocalServer::origin() const
{
    return std::string(tls_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_);
}

std::string LocalServer::connectTo(const std::string& host) const
{
    return host + ":" + (tls_ ? "443" : "80") + ":127.0.0.1:" + std::to_string(port_);
}

std::string FixturesDir() { return std::string(KORVEL_SOURCE_DIR) + "/../shared/fixtures"; }

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

}  // namespace korvel::test
