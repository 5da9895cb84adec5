#pragma once

// Which connection a member upload goes out on. The members of a run follow each other within
// milliseconds, so they share one kept connection instead of paying for a new one each. A
// connection that has sat idle for a second is not trusted any more: the back-end may be closing
// it at that very moment (common servers end idle connections after 5 s or more), and an upload
// lost that way cannot be sent again, since it may have arrived; the member would fail for
// nothing. After such a pause the next upload opens a fresh connection.

#include <atomic>
#include <chrono>

namespace korvel {

class UploadConnections {
public:
    // Any thread, around each upload request.
    void beforeUpload();
    void afterUpload();

private:
    using Clock = std::chrono::steady_clock;
    std::atomic<Clock::rep> lastEnded_{0};  // the clock's epoch: long ago
};

}  // namespace korvel
