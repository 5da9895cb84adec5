#pragma once

// The member session as the page keeps it: the jobs of the core, and what the page's own thread
// remembers between presses and the ends of those jobs. The fields below are touched on the
// window's thread only (presses and posted work), so they need no lock.

#include <string>
#include <vector>

#include "members/MemberJobs.h"
#include "members/MemberSession.h"

namespace korvel {

class MemberPageSession : public MemberSession {
public:
    using MemberSession::MemberSession;
    // The jobs' posted work touches the fields below: they end before the fields go.
    ~MemberPageSession() override { shutdown(); }

    // A job of each kind runs, from its start until its end was posted back.
    bool connecting = false;
    bool readerAlive = false;
    bool uploadRunning = false;
    bool sendingOne = false;
    // The operator agreed, once this session, to uploads over plain HTTP to another machine.
    bool clearTextAccepted = false;
    // The members whose upload failed in the last bulk upload or retry, ready to be sent again.
    std::vector<MemberRecord> failedUploads;
};

}  // namespace korvel
