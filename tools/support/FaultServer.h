#pragma once

// A server that misbehaves the way shop servers and networks do, on request: it answers, resets a
// connection in the middle of a body, stalls, drips a byte at a time, or accepts and never
// answers. Plain HTTP or HTTPS, 127.0.0.1 only, a free port, a thread per connection; a connection
// carries request after request until a reply ends it. Stopping it ends every stall at once.

#include <openssl/types.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/ThrowawayTls.h"
#include "support/LoopbackListener.h"

namespace korvel::tools {

struct FaultReply {
    enum class Act {
        Answer,  // write `bytes`, then read the next request on the same connection
        Close,   // write `bytes`, then close the connection
        Reset,   // write the first `cutAt` bytes, then reset the connection
        Stall,   // write `bytes` (nothing: accept and never answer), then hold the connection
        Drip,    // write `bytes` one byte every `dripEvery`
    };
    Act act = Act::Answer;
    std::string bytes;
    size_t cutAt = 0;
    std::chrono::milliseconds dripEvery{0};
    std::chrono::milliseconds delay{0};  // before anything is written: a slow server

    // A whole response with a Content-Length (and a GBK HTML Content-Type unless the header lines
    // name one); the connection stays open.
    static FaultReply Respond(int status, const std::string& body, const std::string& headerLines = "");
    static FaultReply Redirect(int status, const std::string& location);
    // The response of `status` and `body`, cut after its header block and `bodyBytes` body bytes.
    static FaultReply ResetMidBody(const std::string& body, size_t bodyBytes);
    static FaultReply Never() { return Raw(Act::Stall, {}); }
    // `bytes` exactly as given, played as `act`.
    static FaultReply Raw(Act act, std::string bytes);
};

class FaultServer {
public:
    // The handler sees each request whole (head and body) and decides the reply.
    using Handler = std::function<FaultReply(const std::string& request)>;

    // HTTPS with `tls`'s server certificate when given, else plain HTTP; on `port`, or any free
    // port when it is 0. port() is 0 on failure.
    explicit FaultServer(Handler handler, const std::optional<TlsFiles>& tls = std::nullopt, int port = 0);
    ~FaultServer();
    FaultServer(const FaultServer&) = delete;
    FaultServer& operator=(const FaultServer&) = delete;

    int port() const { return listener_.port(); }
    // "HOST:DEFAULTPORT:127.0.0.1:PORT", a KORVEL_CONNECT_TO entry routing that host here.
    std::string connectTo(const std::string& host, int hostPort = 443) const;
    std::vector<std::string> requests() const;
    int connections() const { return accepted_; }

    class Channel;

private:
    void accept(int connection);
    void serve(int connection);
    [[nodiscard]] bool play(Channel& channel, const FaultReply& reply);
    [[nodiscard]] bool hold(std::chrono::milliseconds duration);

    Handler handler_;
    SSL_CTX* context_ = nullptr;
    std::atomic<int> accepted_{0};
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::set<int> open_;
    std::vector<std::string> requests_;
    LoopbackListener listener_;
};

// The head of a request (up to the blank line) and its body.
std::string HeadOf(const std::string& request);
std::string BodyOf(const std::string& request);

}  // namespace korvel::tools
