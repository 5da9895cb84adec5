#pragma once

// What the member jobs share between presses: the connection, the reading flag, the back-end they
// upload to and one worker thread per kind of job. A job never waits for the window, so stopping
// the session ends every job as soon as what it waits on (a connect, a statement, a request) is cut
// short.

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "base/Cancellation.h"
#include "members/MemberDbConnection.h"

namespace korvel {

// How a read hands rows on: a batch goes once it holds maxRows rows or, when maxDelay is not zero,
// once maxDelay has passed since the last batch. The default hands every row on its own.
struct MemberReadPacing {
    int maxRows = 1;
    std::chrono::milliseconds maxDelay{0};
};

// How often a bulk upload hands its tally on: after a member once tallyInterval has passed since the
// last time, and always after the last member. The default hands it on after every member.
struct MemberUploadPacing {
    std::chrono::milliseconds tallyInterval{0};
};

enum class MemberJob { Connect, Read, Upload, SingleUpload };

class MemberSession {
public:
    // backendHost is the back-end's address (see BackendAddress.h); backendAccountId the account
    // number sent as "i".
    MemberSession(std::string backendHost, std::string backendAccountId);
    // Stops and joins the workers; see shutdown().
    virtual ~MemberSession();
    MemberSession(const MemberSession&) = delete;
    MemberSession& operator=(const MemberSession&) = delete;

    MemberDbConnection& connection() { return connection_; }
    // Every upload request of the session; cancelled for good by stop().
    Cancellation& uploadCancellation() { return uploadCancellation_; }
    // Any thread: a job takes the address once, when it starts.
    std::string backendHost() const;
    void setBackendHost(std::string host);
    const std::string& backendAccountId() const { return backendAccountId_; }

    // 1 while a read is wanted; the reader looks at it before each row.
    std::atomic<int> memberReadingActive{0};
    // Set once the session is going away: a running job stops before its next step.
    std::atomic<bool> closing{false};

    MemberReadPacing readPacing;
    MemberUploadPacing uploadPacing;

    // Starts `body` on the worker of its kind. The previous job of that kind is joined first: start
    // one only once the previous one has reported its end, and the join takes no time. A view that
    // runs its jobs elsewhere (the window's job runner) starts them there instead.
    virtual void start(MemberJob kind, std::function<void()> body);

    // True once every job started so far has returned.
    bool workersDone() const { return running_ == 0; }

protected:
    // For a start() of a view's own: counts the job from its start to its return.
    void jobStarted() { ++running_; }
    void jobReturned() { --running_; }

public:
    // Any thread: asks every job to stop and cuts short what it waits on. Does not wait.
    void stop();
    // stop(), then joins the jobs.
    void shutdown();

private:
    MemberDbConnection connection_;
    Cancellation uploadCancellation_;
    mutable std::mutex backendMutex_;
    std::string backendHost_;
    std::string backendAccountId_;
    std::array<std::thread, 4> workers_;
    std::atomic<int> running_{0};
};

}  // namespace korvel
