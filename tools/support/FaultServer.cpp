#include "support/FaultServer.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <csignal>

#include "support/Sockets.h"

namespace korvel::tools {

// One accepted connection, plain or TLS.
class FaultServer::Channel {
public:
    Channel(int socket, SSL_CTX* context) : socket_(socket)
    {
        if (context) {
            ssl_ = SSL_new(context);
            if (!ssl_ || SSL_set_fd(ssl_, socket) != 1 || SSL_accept(ssl_) != 1)
                broken_ = true;
        }
    }
    ~Channel() { SSL_free(ssl_); }
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    bool broken() const { return broken_; }

    // The next whole request; empty when the peer closed or the connection broke.
    std::string readRequest()
    {
        size_t headEnd;
        while ((headEnd = pending_.find("\r\n\r\n")) == std::string::npos) {
            if (!fill())
                return {};
        }
        const size_t end = headEnd + 4 + AnnouncedBody(pending_.substr(0, headEnd + 2));
        while (pending_.size() < end) {
            if (!fill())
                return {};
        }
        std::string request = pending_.substr(0, end);
        pending_.erase(0, end);
        return request;
    }

    bool write(const char* data, size_t size)
    {
        if (size == 0)
            return true;
        if (ssl_)
            return SSL_write(ssl_, data, static_cast<int>(size)) > 0;
        size_t sent = 0;
        while (sent < size) {
            const ssize_t n = send(socket_, data + sent, size - sent, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            sent += static_cast<size_t>(n);
        }
        return true;
    }

    // Ends the connection with a reset instead of an orderly close.
    void reset()
    {
        const linger abort{1, 0};
        setsockopt(socket_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
        ::shutdown(socket_, SHUT_RD);
    }

private:
    bool fill()
    {
        std::array<char, 16384> buffer;
        const int n = ssl_ ? SSL_read(ssl_, buffer.data(), static_cast<int>(buffer.size()))
                           : static_cast<int>(recv(socket_, buffer.data(), buffer.size(), 0));
        if (n <= 0)
            return false;
        pending_.append(buffer.data(), static_cast<size_t>(n));
        return true;
    }

    int socket_;
    SSL* ssl_ = nullptr;
    bool broken_ = false;
    std::string pending_;
};

FaultReply FaultReply::Respond(int status, const std::string& body, const std::string& headerLines)
{
    const bool typed = headerLines.find("Content-Type:") != std::string::npos;
    return Raw(Act::Answer, "HTTP/1.1 " + std::to_string(status) + " Fault\r\n" + headerLines +
                                (typed ? "" : "Content-Type: text/html;charset=GBK\r\n") +
                                "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
}

FaultReply FaultReply::Raw(Act act, std::string bytes)
{
    FaultReply reply;
    reply.act = act;
    reply.bytes = std::move(bytes);
    return reply;
}

FaultReply FaultReply::Redirect(int status, const std::string& location)
{
    return Respond(status, "", "Location: " + location + "\r\n");
}

FaultReply FaultReply::ResetMidBody(const std::string& body, size_t bodyBytes)
{
    FaultReply reply = Respond(200, body);
    reply.act = Act::Reset;
    reply.cutAt = reply.bytes.size() - body.size() + bodyBytes;
    return reply;
}

FaultServer::FaultServer(Handler handler, const std::optional<TlsFiles>& tls, int port)
    : handler_(std::move(handler))
{
    // A client that leaves in the middle of a reply must not take the process with it: TLS writes
    // go through write(), which would raise SIGPIPE.
    std::signal(SIGPIPE, SIG_IGN);
    if (tls) {
        context_ = SSL_CTX_new(TLS_server_method());
        if (!context_ || SSL_CTX_use_certificate_chain_file(context_, tls->serverCert.c_str()) != 1 ||
            SSL_CTX_use_PrivateKey_file(context_, tls->serverKey.c_str(), SSL_FILETYPE_PEM) != 1)
            return;
    }
    static_cast<void>(listener_.start([this](int connection) { accept(connection); }, port));
}

FaultServer::~FaultServer()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        changed_.notify_all();
    }
    listener_.stop();
    std::unique_lock lock(mutex_);
    for (const int connection : open_)
        shutdown(connection, SHUT_RDWR);
    changed_.wait(lock, [this] { return open_.empty(); });
    lock.unlock();
    SSL_CTX_free(context_);
}

std::string FaultServer::connectTo(const std::string& host, int hostPort) const
{
    return host + ":" + std::to_string(hostPort) + ":127.0.0.1:" + std::to_string(port());
}

std::vector<std::string> FaultServer::requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

void FaultServer::accept(int connection)
{
    std::lock_guard lock(mutex_);
    ++accepted_;
    open_.insert(connection);
    std::thread([this, connection] { serve(connection); }).detach();
}

void FaultServer::serve(int connection)
{
    const int one = 1;
    setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    {
        Channel channel(connection, context_);
        while (!channel.broken()) {
            const std::string request = channel.readRequest();
            if (request.empty())
                break;
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(request);
            }
            if (!play(channel, handler_(request)))
                break;
        }
    }
    std::lock_guard lock(mutex_);
    close(connection);
    open_.erase(connection);
    changed_.notify_all();
}

// Plays one reply; false once the connection is done with.
bool FaultServer::play(Channel& channel, const FaultReply& reply)
{
    using Act = FaultReply::Act;
    if (reply.delay.count() > 0 && !hold(reply.delay))
        return false;
    switch (reply.act) {
        case Act::Answer:
            return channel.write(reply.bytes.data(), reply.bytes.size());
        case Act::Close:
            channel.write(reply.bytes.data(), reply.bytes.size());
            return false;
        case Act::Reset:
            channel.write(reply.bytes.data(), std::min(reply.cutAt, reply.bytes.size()));
            channel.reset();
            return false;
        case Act::Stall:
            channel.write(reply.bytes.data(), reply.bytes.size());
            // Never answered, whether the hold ends with the server's stop or not.
            static_cast<void>(hold(std::chrono::hours(24)));
            return false;
        case Act::Drip:
            for (const char& byte : reply.bytes) {
                if (!hold(reply.dripEvery) || !channel.write(&byte, 1))
                    return false;
            }
            return true;
    }
    return false;
}

// Waits for `duration`; false when the server stops first.
bool FaultServer::hold(std::chrono::milliseconds duration)
{
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, duration, [this] { return stopping_.load(); });
}

std::string HeadOf(const std::string& request)
{
    return request.substr(0, request.find("\r\n\r\n"));
}

std::string BodyOf(const std::string& request)
{
    const size_t end = request.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : request.substr(end + 4);
}

}  // namespace korvel::tools
