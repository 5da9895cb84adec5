#pragma once

// The listening half every local server shares: a socket on 127.0.0.1 and the thread that accepts
// on it. Each connection goes to the server's callback, on the accepting thread, which then owns it.

#include <atomic>
#include <functional>
#include <thread>

namespace korvel::tools {

class LoopbackListener {
public:
    using Accepted = std::function<void(int connection)>;

    LoopbackListener() = default;
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    // Listens on `port`, or on a free port when it is 0; false when no socket could be opened.
    [[nodiscard]] bool start(Accepted accepted, int port = 0);
    // Wakes the accepting thread, waits for it and closes the socket; a connection that arrives
    // meanwhile is closed unseen. Call it before tearing down what the callback uses.
    void stop();
    // 0 when not listening.
    int port() const { return port_; }

private:
    void acceptLoop();

    Accepted accepted_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::thread acceptor_;
};

}  // namespace korvel::tools
