#include "support/TlsReplyServer.h"

#include "support/Sockets.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>

namespace korvel::tools {

TlsReplyServer::TlsReplyServer(const TlsFiles& tls, const std::string& body)
    : reply_("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size()) +
             "\r\n\r\n" + body)
{
    context_ = SSL_CTX_new(TLS_server_method());
    if (!context_ || SSL_CTX_use_certificate_chain_file(context_, tls.serverCert.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context_, tls.serverKey.c_str(), SSL_FILETYPE_PEM) != 1)
        return;
    static_cast<void>(listener_.start([this](int connection) { accept(connection); }));
}

TlsReplyServer::~TlsReplyServer()
{
    listener_.stop();
    std::unique_lock lock(mutex_);
    for (const int connection : open_)
        shutdown(connection, SHUT_RDWR);
    allClosed_.wait(lock, [this] { return open_.empty(); });
    lock.unlock();
    SSL_CTX_free(context_);
}

void TlsReplyServer::accept(int connection)
{
    std::lock_guard lock(mutex_);
    open_.insert(connection);
    std::thread([this, connection] { serve(connection); }).detach();
}

void TlsReplyServer::serve(int connection)
{
    const int one = 1;
    setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    SSL* ssl = SSL_new(context_);
    if (ssl && SSL_set_fd(ssl, connection) == 1 && SSL_accept(ssl) == 1 && answerRequests(ssl))
        SSL_shutdown(ssl);
    SSL_free(ssl);
    std::lock_guard lock(mutex_);
    close(connection);
    open_.erase(connection);
    allClosed_.notify_all();
}

// Answers request after request until the client closes; false when the connection broke.
bool TlsReplyServer::answerRequests(SSL* ssl)
{
    std::string pending;
    std::array<char, 16384> buffer;
    for (;;) {
        size_t headEnd;
        while ((headEnd = pending.find("\r\n\r\n")) == std::string::npos) {
            const int n = SSL_read(ssl, buffer.data(), static_cast<int>(buffer.size()));
            if (n <= 0)
                return SSL_get_error(ssl, n) == SSL_ERROR_ZERO_RETURN;
            pending.append(buffer.data(), static_cast<size_t>(n));
        }
        const size_t requestEnd = headEnd + 4 + AnnouncedBody(pending.substr(0, headEnd + 2));
        while (pending.size() < requestEnd) {
            const int n = SSL_read(ssl, buffer.data(), static_cast<int>(buffer.size()));
            if (n <= 0)
                return false;
            pending.append(buffer.data(), static_cast<size_t>(n));
        }
        pending.erase(0, requestEnd);
        if (SSL_write(ssl, reply_.data(), static_cast<int>(reply_.size())) <= 0)
            return false;
    }
}

}  // namespace korvel::tools
