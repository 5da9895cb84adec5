#include "support/DelayRelay.h"

#include <arpa/inet.h>
#include <poll.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
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

// One direction of a relayed connection: chunks read from one side, each due on the other side at
// its own time.
struct Direction {
    int from;
    int to;
    Clock::time_point notBefore;
    std::deque<std::pair<Clock::time_point, std::string>> chunks;
    bool reading = true;
    bool done = false;
};

// Reads what is there, stamping each chunk with the time it is due on the other side.
void Take(Direction& d, std::chrono::milliseconds oneWay)
{
    char buffer[65536];
    const ssize_t n = recv(d.from, buffer, sizeof buffer, MSG_DONTWAIT);
    if (n > 0)
        d.chunks.emplace_back(std::max(Clock::now(), d.notBefore) + oneWay, std::string(buffer, static_cast<size_t>(n)));
    else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
        d.reading = false;
}

// Sends the chunks that are due; once the other side has closed and all is sent, passes the close on.
void Deliver(Direction& d)
{
    const auto now = Clock::now();
    while (!d.chunks.empty() && d.chunks.front().first <= now) {
        const std::string& bytes = d.chunks.front().second;
        if (send(d.to, bytes.data(), bytes.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(bytes.size())) {
            d.chunks.clear();
            d.reading = false;
        } else {
            d.chunks.pop_front();
        }
    }
    if (!d.reading && d.chunks.empty() && !d.done) {
        shutdown(d.to, SHUT_WR);
        d.done = true;
    }
}

// How long the relay may wait for input before the next chunk falls due; null: as long as it takes.
const timespec* UntilNextDue(const Direction (&directions)[2], timespec& wait)
{
    Clock::time_point next = Clock::time_point::max();
    for (const Direction& d : directions) {
        if (!d.chunks.empty())
            next = std::min(next, d.chunks.front().first);
    }
    if (next == Clock::time_point::max())
        return nullptr;
    const auto left = std::max(Clock::duration::zero(), next - Clock::now());
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    wait = {static_cast<time_t>(ns / 1000000000), static_cast<long>(ns % 1000000000)};
    return &wait;
}

}  // namespace

DelayRelay::DelayRelay(int targetPort, std::chrono::milliseconds oneWay) : targetPort_(targetPort), oneWay_(oneWay)
{
    static_cast<void>(listener_.start([this](int client) { accept(client); }));
}

DelayRelay::~DelayRelay()
{
    listener_.stop();
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

void DelayRelay::accept(int client)
{
    const int server = ConnectToLoopback(targetPort_);
    if (server < 0) {
        close(client);
        return;
    }
    NoDelay(client);
    NoDelay(server);
    ++accepted_;
    // The handshake's round trip: what the client sends can reach the server no sooner than
    // it would have on a real link.
    const auto handshaken = Clock::now() + 2 * oneWay_;
    std::lock_guard lock(mutex_);
    sockets_.insert({client, server});
    threads_.emplace_back([this, client, server, handshaken] { relay(client, server, handshaken); });
}

// Both directions of one connection on one thread: a chunk waits only for its time and for the
// thread, so the relay adds no hand-over between threads to what it measures.
void DelayRelay::relay(int client, int server, Clock::time_point handshaken)
{
    Direction directions[2] = {{client, server, handshaken, {}}, {server, client, Clock::time_point(), {}}};
    while (!directions[0].done || !directions[1].done) {
        pollfd waiting[2];
        for (int i = 0; i < 2; ++i)
            waiting[i] = {directions[i].reading ? directions[i].from : -1, POLLIN, 0};
        timespec wait{};
        if (ppoll(waiting, 2, UntilNextDue(directions, wait), nullptr) < 0 && errno != EINTR)
            return;
        for (int i = 0; i < 2; ++i) {
            if (waiting[i].revents != 0)
                Take(directions[i], oneWay_);
            Deliver(directions[i]);
        }
    }
}

}  // namespace korvel::tools
