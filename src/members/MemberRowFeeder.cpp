#include "members/MemberRowFeeder.h"

#include <utility>

namespace korvel {

MemberRowFeeder::MemberRowFeeder(std::function<void(MemberBatch)> handOn, MemberReadPacing pacing)
    : handOn_(std::move(handOn)), pacing_(pacing), lastFlush_(std::chrono::steady_clock::now())
{
}

void MemberRowFeeder::add(MemberRecord row)
{
    batch_.push_back(std::move(row));
    const bool full = static_cast<int>(batch_.size()) >= pacing_.maxRows;
    const bool due =
        pacing_.maxDelay.count() > 0 && std::chrono::steady_clock::now() - lastFlush_ >= pacing_.maxDelay;
    if (full || due) {
        flush();
    }
}

void MemberRowFeeder::flush()
{
    if (batch_.empty()) {
        return;
    }
    handOn_(std::make_shared<const std::vector<MemberRecord>>(std::move(batch_)));
    batch_ = {};
    lastFlush_ = std::chrono::steady_clock::now();
}

}  // namespace korvel
