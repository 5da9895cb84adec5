#pragma once

// A lean HTTPS server for benchmarks. It answers every request on a kept connection with one fixed
// response, written as a single TLS record, so that the client under measurement, not the server,
// decides how many requests a second get through. (cpp-httplib's server writes the head and the
// body separately and polls before every read; on two cores it capped a kept connection at a
// quarter of what the client alone manages.) 127.0.0.1 only, a free port, a thread per connection.

#include <openssl/types.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "support/ThrowawayTls.h"
#include "support/LoopbackListener.h"

namespace korvel::tools {

class TlsReplyServer {
public:
    // port() is 0 when the certificate, the key or the socket could not be set up.
    TlsReplyServer(const TlsFiles& tls, const std::string& body);
    ~TlsReplyServer();
    TlsReplyServer(const TlsReplyServer&) = delete;
    TlsReplyServer& operator=(const TlsReplyServer&) = delete;

    int port() const { return listener_.port(); }

private:
    void accept(int connection);
    void serve(int connection);
    [[nodiscard]] bool answerRequests(SSL* ssl);

    SSL_CTX* context_ = nullptr;
    std::string reply_;
    std::mutex mutex_;
    std::condition_variable allClosed_;
    std::set<int> open_;  // connections being served, shut down when the server stops
    LoopbackListener listener_;
};

}  // namespace korvel::tools
