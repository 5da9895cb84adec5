#pragma once

// A TCP relay on 127.0.0.1 that holds every chunk for a fixed time in each direction before passing
// it on: a wide-area round trip on loopback, without the privileges traffic control needs. Chunks
// in flight overlap, as on a real link: the delay adds latency, not a cap on throughput. A new
// connection's first bytes also wait for the round trip its handshake would have taken, which
// the kernel completes at once on loopback.

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "support/LoopbackListener.h"

namespace korvel::tools {

class DelayRelay {
public:
    // Relays connections to 127.0.0.1:targetPort, delaying each direction by `oneWay`.
    DelayRelay(int targetPort, std::chrono::milliseconds oneWay);
    ~DelayRelay();
    DelayRelay(const DelayRelay&) = delete;
    DelayRelay& operator=(const DelayRelay&) = delete;

    int port() const { return listener_.port(); }
    int connections() const { return accepted_; }

private:
    void accept(int connection);
    void relay(int client, int server, std::chrono::steady_clock::time_point handshaken);

    int targetPort_;
    std::chrono::milliseconds oneWay_;
    std::atomic<int> accepted_{0};
    std::mutex mutex_;
    std::set<int> sockets_;
    std::vector<std::thread> threads_;
    LoopbackListener listener_;
};

}  // namespace korvel::tools
