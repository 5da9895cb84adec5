#pragma once

// Hands a reader's rows to the member list in batches, so a large read costs one call into the
// window per batch rather than per row while the list still fills visibly.

#include <chrono>
#include <vector>

#include "members/MemberScreen.h"
#include "members/MemberSession.h"

namespace korvel {

class MemberRowFeeder {
public:
    MemberRowFeeder(MemberScreen& screen, MemberReadPacing pacing);

    // False once the window refuses the rows (it is closing).
    [[nodiscard]] bool add(MemberRecord row);
    [[nodiscard]] bool flush();

private:
    MemberScreen& screen_;
    MemberReadPacing pacing_;
    std::vector<MemberRecord> batch_;
    std::chrono::steady_clock::time_point lastFlush_;
};

}  // namespace korvel
