#include "support/DelayRelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <string>

#include "support/Sockets.h"

namespace korvel::tools {
namespace {

using Clock = std::chrono::steady_clock;

int ConnectToLoopback(int port)
{
    const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (s >= 0 && connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0)
        return s;
    if (s >= 0)
        close(s);
    return -1;
}

void NoDelay(int s)
{
    const int one = 1;
    setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

// Chunks read from one side, each due on the other side at its own time.
struct Line {
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<std::pair<Clock::time_point, std::string>> chunks;
    bool closed = false;
};

void Deliver(Line& line, int to)
{
    for (;;) {
        std::unique_lock lock(line.mutex);
        line.ready.wait(lock, [&] { return line.closed || !line.chunks.empty(); });
        if (line.chunks.empty())
            break;
        auto [due, bytes] = std::move(line.chunks.front());
        line.chunks.pop_front();
        lock.unlock();
        std::this_thread::sleep_until(due);
        if (send(to, bytes.data(), bytes.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(bytes.size()))
            break;
    }
    shutdown(to, SHUT_WR);
}

}  // namespace

DelayRelay::DelayRelay(int targetPort, std::chrono::milliseconds oneWay) : targetPort_(targetPort), oneWay_(oneWay)
{
    listener_ = ListenOnLoopback(port_);
    if (listener_ >= 0)
        acceptor_ = std::thread([this] { acceptLoop(); });
}

DelayRelay::~DelayRelay()
{
    stopping_ = true;
    if (listener_ >= 0) {
        shutdown(listener_, SHUT_RDWR);
        acceptor_.join();
        close(listener_);
    }
    {
        std::lock_guard lock(mutex_);
        for (const int s : sockets_)
            shutdown(s, SHUT_RDWR);
    }
    for (std::thread& thread : threads_)
        thread.join();
    for (const int s : sockets_)
        close(s);
}

void DelayRelay::acceptLoop()
{
    for (;;) {
        const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0 || stopping_)
            return;
        const int server = ConnectToLoopback(targetPort_);
        if (server < 0) {
            close(client);
            continue;
        }
        NoDelay(client);
        NoDelay(server);
        ++accepted_;
        // The handshake's round trip: what the client sends can reach the server no sooner than
        // it would have on a real link.
        const auto handshaken = Clock::now() + 2 * oneWay_;
        std::lock_guard lock(mutex_);
        sockets_.insert({client, server});
        threads_.emplace_back([this, client, server, handshaken] { pump(client, server, handshaken); });
        threads_.emplace_back([this, client, server] { pump(server, client, Clock::time_point()); });
    }
}

void DelayRelay::pump(int from, int to, Clock::time_point notBefore)
{
    Line line;
    std::thread deliverer([&line, to] { Deliver(line, to); });
    char buffer[65536];
    for (;;) {
        const ssize_t n = recv(from, buffer, sizeof buffer, 0);
        std::lock_guard lock(line.mutex);
        if (n <= 0) {
            line.closed = true;
            line.ready.notify_one();
            break;
        }
        line.chunks.emplace_back(std::max(Clock::now(), notBefore) + oneWay_, std::string(buffer, static_cast<size_t>(n)));
        line.ready.notify_one();
    }
    deliverer.join();
}

}  // namespace korvel::tools
