#pragma once

// Hands a reader's rows on in batches, so a large read costs one post to the window per batch
// rather than per row while the list still fills visibly.

#include <chrono>
#include <functional>
#include <vector>

#include "members/MemberJobs.h"

namespace korvel {

class MemberRowFeeder {
public:
    MemberRowFeeder(std::function<void(MemberBatch)> handOn, MemberReadPacing pacing);

    void add(MemberRecord row);
    void flush();

private:
    std::function<void(MemberBatch)> handOn_;
    MemberReadPacing pacing_;
    std::vector<MemberRecord> batch_;
    std::chrono::steady_clock::time_point lastFlush_;
};

}  // namespace korvel
