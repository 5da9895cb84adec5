#include "members/MemberRowFeeder.h"

#include <utility>

namespace korvel {

MemberRowFeeder::MemberRowFeeder(MemberScreen& screen, MemberReadPacing pacing)
    : screen_(screen), pacing_(pacing), lastFlush_(std::chrono::steady_clock::now())
{
}

bool MemberRowFeeder::add(MemberRecord row)
{
    batch_.push_back(std::move(row));
    const bool full = static_cast<int>(batch_.size()) >= pacing_.maxRows;
    const bool due =
        pacing_.maxDelay.count() > 0 && std::chrono::steady_clock::now() - lastFlush_ >= pacing_.maxDelay;
    return full || due ? flush() : true;
}

bool MemberRowFeeder::flush()
{
    if (batch_.empty()) {
        return true;
    }
    const bool shown = screen_.invoke([this] { screen_.appendMembers(batch_); });
    batch_.clear();
    lastFlush_ = std::chrono::steady_clock::now();
    return shown;
}

}  // namespace korvel
