#include "support/RawHttpServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <strings.h>
#include <stdexcept>

namespace korvel::test {
namespace {

size_t ContentLength(const std::string& head)
{
    size_t at = 0;
    while ((at = head.find("\r\n", at)) != std::string::npos) {
        at += 2;
        if (strncasecmp(head.c_str() + at, "Content-Length:", 15) == 0)
            return std::stoul(head.substr(at + 15));
    }
    return 0;
}

std::string ReadRequest(int connection)
{
    std::string data;
    char buffer[4096];
    size_t wanted = std::string::npos;
    while (data.size() < wanted) {
        const ssize_t n = recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0)
            break;
        data.append(buffer, static_cast<size_t>(n));
        const size_t end = data.find("\r\n\r\n");
        if (wanted == std::string::npos && end != std::string::npos)
            wanted = end + 4 + ContentLength(data.substr(0, end + 2));
    }
    return data;
}

}  // namespace

RawHttpServer::RawHttpServer(Handler handler) : handler_(std::move(handler))
{
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("could not listen on 127.0.0.1");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

RawHttpServer::~RawHttpServer()
{
    stopping_ = true;
    thread_.join();
    close(listener_);
    for (const int connection : silent_)
        close(connection);
}

void RawHttpServer::serve()
{
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (poll(&waiting, 1, 20) <= 0)
            continue;
        const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection >= 0)
            answer(connection);
    }
}

void RawHttpServer::answer(int connection)
{
    const std::string request = ReadRequest(connection);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    const std::optional<std::string> response = handler_(request);
    if (!response) {
        std::lock_guard lock(mutex_);
        silent_.push_back(connection);
        return;
    }
    size_t sent = 0;
    while (sent < response->size()) {
        const ssize_t n = send(connection, response->data() + sent, response->size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        sent += static_cast<size_t>(n);
    }
    shutdown(connection, SHUT_WR);
    close(connection);
}

std::string RawHttpServer::connectTo(const std::string& host, int hostPort) const
{
    return host + ":" + std::to_string(hostPort) + ":127.0.0.1:" + std::to_string(port_);
}

std::vector<std::string> RawHttpServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string RawHttpServer::Response(const std::string& status, const std::string& headerLines,
                                    const std::string& body)
{
    return status + "\r\n" + headerLines + "Content-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

std::string RequestHead(const std::string& request)
{
    return request.substr(0, request.find("\r\n\r\n"));
}

std::string RequestBody(const std::string& request)
{
    const size_t end = request.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : request.substr(end + 4);
}

}  // namespace korvel::test
