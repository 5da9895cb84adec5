#pragma once

// cpp-httplib servers for tests: 127.0.0.1 only, a free port, served from a background thread,
// stopped when the object goes away.

#include <httplib.h>

#include <memory>
#include <string>
#include <thread>

#include "support/ThrowawayTls.h"

namespace korvel::test {

// TLS material for the shop-like hosts tests use ("*.taobao.com", "*.tmall.com", "localhost",
// "127.0.0.1"), made once per test process.
const tools::TlsFiles& TestTls();

class LocalServer {
public:
    // Plain HTTP, or HTTPS with TestTls() when tls is true.
    explicit LocalServer(bool tls = false);
    ~LocalServer();
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    // Register handlers before start().
    httplib::Server& http() { return *server_; }
    void start();
    void stop();

    int port() const { return port_; }
    // "http://127.0.0.1:PORT" or "https://127.0.0.1:PORT".
    std::string origin() const;
    // The KORVEL_CONNECT_TO entry that routes host:defaultPort to this server.
    std::string connectTo(const std::string& host) const;

private:
    bool tls_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
};

// The folder of the shared fixtures (real shop pages, member schemas).
std::string FixturesDir();
std::string ReadFile(const std::string& path);

}  // namespace korvel::test
