#include <chrono>
#include <deque>
#include <optional>

#include "members/MemberTexts.h"
#include "members/MemberUploadBody.h"
#include "members/UploadMembers.h"

namespace korvel {

namespace {

using Clock = std::chrono::steady_clock;

// The members still to send: the list's rows, read from the window ahead of the requests, or the
// members given.
class RowQueue {
public:
    RowQueue(MemberScreen& screen, int prefetch, std::optional<std::vector<MemberRecord>> given)
        : screen_(screen), prefetch_(prefetch), given_(std::move(given))
    {
    }

    // Window thread only.
    void start() { count_ = given_ ? static_cast<int>(given_->size()) : screen_.memberCount(); }
    void refill()
    {
        while (static_cast<int>(rows_.size()) < prefetch_ && next_ < count_) {
            rows_.push_back(given_ ? std::move((*given_)[next_]) : screen_.memberAt(next_));
            ++next_;
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
    std::optional<std::vector<MemberRecord>> given_;
    int count_ = 0;
    int next_ = 0;
    std::deque<MemberRecord> rows_;
};

void FinishUpload(MemberSession& session, MemberScreen& screen, std::vector<MemberRecord>& failed)
{
    // The upload's last call: a window that is closing needs nothing restored.
    static_cast<void>(screen.invoke([&] {
        session.uploadRunning = false;
        session.failedUploads = std::move(failed);
        if (!session.readerAlive) {
            screen.setEnabled(MemberControl::ReadButton, true);
        }
        screen.setEnabled(MemberControl::UploadButton, true);
        screen.setEnabled(MemberControl::SchemaCombo, true);
        screen.setCaption(MemberControl::UploadButton, member_text::UploadButtonIdle);
    }));
}

void RunUploads(MemberSession& session, MemberScreen& screen, const BackendAccount& account, RowQueue& queue)
{
    const MemberUploadPacing pacing = session.uploadPacing;
    bool open = screen.invoke([&] {
        queue.start();
        queue.refill();
    });
    UploadTally tally;
    std::vector<MemberRecord> failed;
    auto lastTally = Clock::now();
    for (int row = 0; open && row < queue.count() && !session.closing; ++row) {
        MemberRecord member = queue.take();
        const int reply = SendMemberUpload(session, member, account);
        tally.count(reply);
        if (UploadFailed(reply)) {
            failed.push_back(std::move(member));
        }
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
        FinishUpload(session, screen, failed);
    }
}

}  // namespace

void UploadAllMembersWorker(MemberSession& session, MemberScreen& screen, const BackendAccount& account)
{
    RowQueue queue(screen, session.uploadPacing.prefetchRows, std::nullopt);
    RunUploads(session, screen, account, queue);
}

void UploadAllMembersWorker(MemberSession& session, MemberScreen& screen, const BackendAccount& account,
                            std::vector<MemberRecord> members)
{
    RowQueue queue(screen, session.uploadPacing.prefetchRows, std::move(members));
    RunUploads(session, screen, account, queue);
}

}  // namespace korvel
