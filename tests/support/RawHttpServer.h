#pragma once

// A bare HTTP/1.1 server over plain TCP for tests that must see or shape the exact bytes on the
// wire: it records each request as received (head and body) and answers with the raw response its
// handler writes, then closes the connection. 127.0.0.1 only, a free port, a background thread.

#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "support/LoopbackListener.h"

namespace korvel::test {

class RawHttpServer {
public:
    // The handler gets the whole request and returns the whole response, or nothing to keep the
    // connection open without ever answering.
    using Handler = std::function<std::optional<std::string>(const std::string& request)>;

    explicit RawHttpServer(Handler handler);
    ~RawHttpServer();
    RawHttpServer(const RawHttpServer&) = delete;
    RawHttpServer& operator=(const RawHttpServer&) = delete;

    int port() const { return listener_.port(); }
    // "HOST:DEFAULTPORT:127.0.0.1:PORT", a KORVEL_CONNECT_TO entry routing a plain host here.
    std::string connectTo(const std::string& host, int hostPort = 80) const;
    std::vector<std::string> requests() const;

    // A response with the given status line, header lines (each ending in CR LF) and body.
    static std::string Response(const std::string& status, const std::string& headerLines,
                                const std::string& body);

private:
    void answer(int connection);

    Handler handler_;
    mutable std::mutex mutex_;
    std::vector<std::string> requests_;
    std::vector<int> silent_;
    tools::LoopbackListener listener_;
};

// The head of a recorded request (up to the blank line) and its body.
std::string RequestHead(const std::string& request);
std::string RequestBody(const std::string& request);

}  // namespace korvel::test
