#pragma once

// The member session as the page keeps it: the jobs of the core, run on the window's job runner,
// and what the page's own thread remembers between presses and the ends of those jobs. The fields below are touched on the
// window's thread only (presses and posted work), so they need no lock.

#include <string>
#include <vector>

#include "app/JobRunner.h"
#include "members/MemberJobs.h"
#include "members/MemberSession.h"

namespace korvel {

class MemberPageSession : public MemberSession {
public:
    MemberPageSession(JobRunner& jobs, std::string backendHost, std::string backendAccountId)
        : MemberSession(std::move(backendHost), std::move(backendAccountId)), jobs_(jobs)
    {
    }

    // Stops the jobs and waits until each has returned: they use the session to their end, and
    // every wait of theirs ends on stop().
    ~MemberPageSession() override;

    // On the window's job runner: cancelling the job (the window closing) stops the session, which
    // cuts short whatever the job waits on.
    void start(MemberJob kind, std::function<void()> body) override;

    // A job of each kind runs, from its start until its end was posted back.
    bool connecting = false;
    bool readerAlive = false;
    bool uploadRunning = false;
    bool sendingOne = false;
    // The operator agreed, once this session, to uploads over plain HTTP to another machine.
    bool clearTextAccepted = false;
    // The members whose upload failed in the last bulk upload or retry, ready to be sent again.
    std::vector<MemberRecord> failedUploads;

private:
    JobRunner& jobs_;
};

}  // namespace korvel
