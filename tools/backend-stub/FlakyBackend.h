#pragma once

// The back-end's entry endpoint failing chosen members on purpose: an error or an empty reply, a
// reset once their request was read, or no answer at all. Every other member is answered "2". It
// keeps connections open between requests, as a real back-end does, and records every request
// body in the order it arrived, answered or not. Listens on 127.0.0.1 from construction on.

#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "support/FaultServer.h"

namespace korvel::tools {

class FlakyBackend {
public:
    FlakyBackend();

    bool listening() const { return server_.port() != 0; }
    std::string host() const;  // "127.0.0.1:PORT"

    static FaultReply Reply(const std::string& body) { return FaultReply::Respond(200, body); }
    static FaultReply Reset() { return FaultReply::Raw(FaultReply::Act::Reset, {}); }

    // The next replies to the member whose from_user is `fromUser`, one per request.
    void script(const std::string& fromUser, std::vector<FaultReply> replies);
    // Every request from now on is met with silence.
    void silenceAll();

    std::vector<std::string> bodies() const;
    // The from_user of each body, in the same order.
    std::vector<std::string> fromUsers() const;
    // Requests read and left without an answer.
    int silentRequests() const;

private:
    FaultReply answer(const std::string& request);

    mutable std::mutex mutex_;
    std::map<std::string, std::deque<FaultReply>> scripts_;
    bool silenceAll_ = false;
    int silent_ = 0;
    FaultServer server_;  // last: it stops, ending every silence, before the scripts go
};

}  // namespace korvel::tools
