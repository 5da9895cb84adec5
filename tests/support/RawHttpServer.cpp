#include "support/RawHttpServer.h"

#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

#include "support/Sockets.h"

namespace korvel::test {
namespace {

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
            wanted = end + 4 + tools::AnnouncedBody(data.substr(0, end + 2));
    }
    return data;
}

}  // namespace

RawHttpServer::RawHttpServer(Handler handler) : handler_(std::move(handler))
{
    // One connection at a time, on the accepting thread: the tests see the requests in order.
    if (!listener_.start([this](int connection) { answer(connection); }))
        throw std::runtime_error("could not listen on 127.0.0.1");
}

RawHttpServer::~RawHttpServer()
{
    listener_.stop();
    for (const int connection : silent_)
        close(connection);
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
    return host + ":" + std::to_string(hostPort) + ":127.0.0.1:" + std::to_string(port());
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
