#pragma once

// What the member page keeps between clicks: the connection, the reading flag, the back-end it
// uploads to and the two workers. The fields marked "window thread" are touched only by button
// handlers and inside MemberScreen::invoke(), so they need no lock of their own.

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "members/MemberDbConnection.h"
#include "members/MemberRecord.h"
#include "base/Cancellation.h"

namespace korvel {

// How a read hands rows to the list: a batch goes to the window once it holds maxRows rows or,
// when maxDelay is not zero, once maxDelay has passed since the last batch. The default shows
// every row on its own.
struct MemberReadPacing {
    int maxRows = 1;
    std::chrono::milliseconds maxDelay{0};
};

// How a bulk upload meets the window: it reads up to prefetchRows rows of the list per call and
// rewrites the tally after a member once tallyInterval has passed since the last time (always after
// the last member, and whenever it needs rows). The default makes one call per member: the tally
// of that member and the next row.
struct MemberUploadPacing {
    int prefetchRows = 1;
    std::chrono::milliseconds tallyInterval{0};
};

class MemberSession {
public:
    // backendHost is "host" or "host:port"; backendAccountId the account number sent as "i".
    MemberSession(std::string backendHost, std::string backendAccountId);
    // Stops and joins the workers; see shutdown().
    ~MemberSession();
    MemberSession(const MemberSession&) = delete;
    MemberSession& operator=(const MemberSession&) = delete;

    MemberDbConnection& connection() { return connection_; }
    // Every upload request of the page; cancelled for good by stop().
    Cancellation& uploadCancellation() { return uploadCancellation_; }
    const std::string& backendHost() const { return backendHost_; }
    const std::string& backendAccountId() const { return backendAccountId_; }

    // 1 while a read is wanted: set and cleared by the read button, cleared by the reader when it
    // ends; the reader looks at it before each row.
    std::atomic<int> memberReadingActive{0};
    // Set once the page is going away: a running worker stops before its next step.
    std::atomic<bool> closing{false};

    MemberReadPacing readPacing;
    MemberUploadPacing uploadPacing;

    // Window thread: a reader thread is running (from its start until its last call into the
    // window), an upload is running.
    bool readerAlive = false;
    bool uploadRunning = false;
    // Window thread: the members whose upload failed in the last bulk upload or retry, in list
    // order, ready to be sent again.
    std::vector<MemberRecord> failedUploads;

    // Starts a worker; a previous worker of the same kind, which has by then made its last call into
    // the window, is joined first.
    void startReader(std::function<void()> body);
    void startUploader(std::function<void()> body);

    // True once every worker started so far has returned.
    bool workersDone() const { return running_ == 0; }

    // Any thread: asks both workers to stop and cuts short what they wait on, a statement or a
    // request, so that they end at once. Does not wait for them.
    void stop();
    // stop(), then waits for the workers. Call it only once the screen's invoke() refuses to run
    // anything, or from a thread that the workers' invoke() calls do not wait for.
    void shutdown();

private:
    void restart(std::thread& worker, std::function<void()> body);

    MemberDbConnection connection_;
    Cancellation uploadCancellation_;
    std::string backendHost_;
    std::string backendAccountId_;
    std::thread reader_;
    std::thread uploader_;
    std::atomic<int> running_{0};
};

}  // namespace korvel
