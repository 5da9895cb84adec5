#pragma once

// The back-end's member entry endpoint as Korvel meets it: "POST /app/index.php" with a form
// body. It checks the account, decodes the form, records each member and answers with a result
// code. Listens on 127.0.0.1 at a free port, served from a background thread.

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace httplib {
class Server;
}

namespace korvel::tools {

// One received form: its fields decoded, in the order they came.
struct ReceivedForm {
    std::vector<std::pair<std::string, std::string>> fields;
    std::string rawBody;

    // The first value of `key`; empty when absent.
    std::string value(const std::string& key) const;
    bool has(const std::string& key) const;
};

// Decodes application/x-www-form-urlencoded text: "+" is a space, "%XX" a byte.
std::vector<std::pair<std::string, std::string>> DecodeForm(const std::string& body);

class BackendStub {
public:
    BackendStub(std::string userName, std::string password);
    // The same over TLS, with the server certificate and key of these PEM files.
    BackendStub(std::string userName, std::string password, const std::string& certFile,
                const std::string& keyFile);
    ~BackendStub();
    BackendStub(const BackendStub&) = delete;
    BackendStub& operator=(const BackendStub&) = delete;

    // Throws std::runtime_error when no port can be bound.
    void start();
    void stop();
    // "127.0.0.1:PORT", the form Korvel takes as its back-end host.
    std::string host() const;

    // Bodies for the next replies, one per request, in order. Without a scripted reply the stub
    // answers "-1" for a wrong account, else "2" for a member it has not seen and "1" for one it has.
    void scriptReplies(std::vector<std::string> bodies);
    // False keeps only the count, for long runs.
    void setRecording(bool recording);

    std::vector<ReceivedForm> members() const;  // forms whose account matched
    int requestCount() const;

private:
    void route();
    std::string answer(const std::string& body);

    std::string userName_;
    std::string password_;
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;

    mutable std::mutex mutex_;
    std::deque<std::string> scripted_;
    std::vector<ReceivedForm> members_;
    std::vector<std::string> seenUsers_;
    bool recording_ = true;
    int requests_ = 0;
};

}  // namespace korvel::tools
