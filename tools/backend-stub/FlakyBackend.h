#pragma once

// The back-end's entry endpoint misbehaving on purpose for chosen members: an error reply, an empty
// reply, a connection reset after the request was read, or no answer at all. Plain sockets, since
// an HTTP library's server neither resets nor stalls on request. It keeps connections open between
// requests, as a real back-end does, and records every request body in the order it arrived,
// answered or not. 127.0.0.1 only, a free port, one thread serving every connection in turn.

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace korvel::tools {

struct FlakyAnswer {
    enum Kind { Body, Reset, Silence };
    Kind kind = Body;
    std::string body;  // for Body: the reply's body, possibly empty
};

class FlakyBackend {
public:
    FlakyBackend() = default;
    ~FlakyBackend();
    FlakyBackend(const FlakyBackend&) = delete;
    FlakyBackend& operator=(const FlakyBackend&) = delete;

    // Throws std::runtime_error when no port can be bound.
    void start();
    // Ends every connection, the silent ones included.
    void stop();
    std::string host() const;  // "127.0.0.1:PORT"

    // The next answers to the member whose from_user is `fromUser`, one per request; once they are
    // used up it is answered "2".
    void script(const std::string& fromUser, std::vector<FlakyAnswer> answers);
    // Every member from now on is met with silence.
    void silenceAll();

    std::vector<std::string> bodies() const;
    // The from_user of each body, in the same order.
    std::vector<std::string> fromUsers() const;
    // Requests read and left without an answer.
    int silentRequests() const;

private:
    struct Connection {
        int socket;
        std::string pending;
        bool silent = false;  // a request on it is left unanswered: nothing more is read from it
    };

    void serve();
    bool accept();
    bool answerPending(Connection& connection);
    FlakyAnswer answerFor(const std::string& body);

    int listener_ = -1;
    int wake_[2] = {-1, -1};  // stop() writes to wake_[1]
    int port_ = 0;
    std::thread server_;
    std::vector<Connection> connections_;  // the server thread's own

    mutable std::mutex mutex_;
    bool silenceAll_ = false;
    int silent_ = 0;
    std::map<std::string, std::deque<FlakyAnswer>> scripts_;
    std::vector<std::string> bodies_;
};

}  // namespace korvel::tools
