#include <chrono>
#include <deque>

#include "members/MemberTexts.h"
#include "members/MemberUploadBody.h"
#include "members/UploadMembers.h"

namespace korvel {

namespace {

using Clock = std::chrono::steady_clock;

// The list rows still to send, read from the window ahead of the requests.
class RowQueue {
public:
    RowQueue(MemberScreen& screen, int prefetch) : screen_(screen), prefetch_(prefetch) {}

    // Window thread only.
    void start() { count_ = screen_.memberCount(); }
    void refill()
    {
        while (static_cast<int>(rows_.size()) < prefetch_ && next_ < count_) {
            rows_.push_back(screen_.memberAt(next_++));
        }
    }

    int count() const { return count_; }
    bool empty() const { return rows_.empty(); }
    MemberRecord take()
    {
        MemberRecord row = std::move(rows_.front());
        rows_.pop_front();
        return row;
    }

private:
    MemberScreen& screen_;
    int prefetch_;
    int count_ = 0;
    int next_ = 0;
    std::deque<MemberRecord> rows_;
};

void FinishUpload(MemberSession& session, MemberScreen& screen)
{
    screen.invoke([&] {
        session.uploadRunning = false;
        if (!session.readerAlive) {
            screen.setEnabled(MemberControl::ReadButton, true);
        }
        screen.setEnabled(MemberControl::UploadButton, true);
        screen.setEnabled(MemberControl::SchemaCombo, true);
        screen.setCaption(MemberControl::UploadButton, member_text::UploadButtonIdle);
    });
}

}  // namespace

void UploadAllMembersWorker(MemberSession& session, MemberScreen& screen, const BackendAccount& account)
{
    const MemberUploadPacing pacing = session.uploadPacing;
    RowQueue queue(screen, pacing.prefetchRows);
    bool open = screen.invoke([&] {
        queue.start();
        queue.refill();
    });
    UploadTally tally;
    auto lastTally = Clock::now();
    for (int row = 0; open && row < queue.count() && !session.closing; ++row) {
        tally.count(SendMemberUpload(session, queue.take(), account));
        const bool due =
            row + 1 == queue.count() || queue.empty() || Clock::now() - lastTally >= pacing.tallyInterval;
        if (due) {
            open = screen.invoke([&] {
                screen.setStatus(tally.text());
                queue.refill();
            });
            lastTally = Clock::now();
        }
    }
    if (open) {
        FinishUpload(session, screen);
    }
}

}  // namespace korvel
