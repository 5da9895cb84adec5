#include "backend-stub/FlakyBackend.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <stdexcept>

#include "backend-stub/BackendStub.h"

namespace korvel::tools {
namespace {

// The body of the first complete request in `pending`, which then loses that request; nothing
// while the request is still arriving.
std::optional<std::string> TakeRequest(std::string& pending)
{
    const size_t headEnd = pending.find("\r\n\r\n");
    if (headEnd == std::string::npos) {
        return std::nullopt;
    }
    std::string head = pending.substr(0, headEnd + 2);
    std::transform(head.begin(), head.end(), head.begin(), [](unsigned char c) { return std::tolower(c); });
    const size_t length = head.find("\r\ncontent-length:");
    const size_t bodySize =
        length == std::string::npos ? 0 : std::strtoul(head.c_str() + length + 17, nullptr, 10);
    if (pending.size() < headEnd + 4 + bodySize) {
        return std::nullopt;
    }
    std::string body = pending.substr(headEnd + 4, bodySize);
    pending.erase(0, headEnd + 4 + bodySize);
    return body;
}

}  // namespace

FlakyBackend::~FlakyBackend()
{
    stop();
}

void FlakyBackend::start()
{
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
        pipe2(wake_, O_CLOEXEC) != 0) {
        throw std::runtime_error("the flaky back-end could not listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    server_ = std::thread([this] { serve(); });
}

void FlakyBackend::stop()
{
    if (!server_.joinable()) {
        return;
    }
    [[maybe_unused]] const ssize_t woken = write(wake_[1], "x", 1);
    server_.join();
    for (int fd : {listener_, wake_[0], wake_[1]}) {
        close(fd);
    }
}

std::string FlakyBackend::host() const
{
    return "127.0.0.1:" + std::to_string(port_);
}

void FlakyBackend::script(const std::string& fromUser, std::vector<FlakyAnswer> answers)
{
    std::lock_guard lock(mutex_);
    auto& queue = scripts_[fromUser];
    queue.insert(queue.end(), answers.begin(), answers.end());
}

void FlakyBackend::silenceAll()
{
    std::lock_guard lock(mutex_);
    silenceAll_ = true;
}

std::vector<std::string> FlakyBackend::bodies() const
{
    std::lock_guard lock(mutex_);
    return bodies_;
}

std::vector<std::string> FlakyBackend::fromUsers() const
{
    std::vector<std::string> users;
    for (const std::string& body : bodies()) {
        users.push_back(ReceivedForm{DecodeForm(body), body}.value("from_user"));
    }
    return users;
}

int FlakyBackend::silentRequests() const
{
    std::lock_guard lock(mutex_);
    return silent_;
}

// Waits on the listener, the wake-up pipe and every connection that may still send a request.
void FlakyBackend::serve()
{
    for (;;) {
        std::vector<pollfd> watched = {{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
        for (const Connection& c : connections_) {
            watched.push_back({c.socket, static_cast<short>(c.silent ? 0 : POLLIN), 0});
        }
        poll(watched.data(), watched.size(), -1);
        if (watched[0].revents != 0 || (watched[1].revents != 0 && !accept())) {
            break;
        }
        for (size_t i = 2; i < watched.size(); ++i) {
            if (watched[i].revents != 0 && !answerPending(connections_[i - 2])) {
                close(connections_[i - 2].socket);
                connections_[i - 2].socket = -1;
            }
        }
        std::erase_if(connections_, [](const Connection& c) { return c.socket < 0; });
    }
    for (const Connection& c : connections_) {
        close(c.socket);
    }
    connections_.clear();
}

bool FlakyBackend::accept()
{
    const int socket = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (socket < 0) {
        return false;
    }
    const int one = 1;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    connections_.push_back({socket, {}});
    return true;
}

// Reads what arrived and answers each complete request; false when the connection is done with.
bool FlakyBackend::answerPending(Connection& connection)
{
    char buffer[16384];
    const ssize_t n = recv(connection.socket, buffer, sizeof buffer, 0);
    if (n <= 0) {
        return false;
    }
    connection.pending.append(buffer, static_cast<size_t>(n));
    while (!connection.silent) {
        const std::optional<std::string> body = TakeRequest(connection.pending);
        if (!body) {
            return true;
        }
        const FlakyAnswer answer = answerFor(*body);
        if (answer.kind == FlakyAnswer::Reset) {
            const linger abort{1, 0};  // closing now sends a reset instead of an orderly end
            setsockopt(connection.socket, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
            return false;
        }
        connection.silent = answer.kind == FlakyAnswer::Silence;
        const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " +
                                  std::to_string(answer.body.size()) + "\r\n\r\n" + answer.body;
        if (!connection.silent && send(connection.socket, reply.data(), reply.size(), MSG_NOSIGNAL) < 0) {
            return false;
        }
    }
    return true;
}

FlakyAnswer FlakyBackend::answerFor(const std::string& body)
{
    const std::string user = ReceivedForm{DecodeForm(body), body}.value("from_user");
    std::lock_guard lock(mutex_);
    bodies_.push_back(body);
    auto& queue = scripts_[user];
    FlakyAnswer next{FlakyAnswer::Body, "2"};
    if (silenceAll_) {
        next = {FlakyAnswer::Silence, {}};
    } else if (!queue.empty()) {
        next = queue.front();
        queue.pop_front();
    }
    silent_ += next.kind == FlakyAnswer::Silence ? 1 : 0;
    return next;
}

}  // namespace korvel::tools
