#include <chrono>

#include "members/MemberJobs.h"

namespace korvel {

const MemberRecord* MemberAt(const std::vector<MemberBatch>& batches, int k)
{
    for (const MemberBatch& batch : batches) {
        if (k < 0) {
            return nullptr;
        }
        if (k < static_cast<int>(batch->size())) {
            return &(*batch)[static_cast<size_t>(k)];
        }
        k -= static_cast<int>(batch->size());
    }
    return nullptr;
}

MemberUploadResult UploadMembers(MemberSession& session, const std::vector<MemberBatch>& members,
                                 const BackendAccount& account,
                                 const std::function<void(const UploadTally&)>& progress)
{
    using Clock = std::chrono::steady_clock;
    MemberUploadResult result;
    auto lastTally = Clock::now();
    bool owed = false;
    for (const MemberBatch& batch : members) {
        for (const MemberRecord& member : *batch) {
            if (session.closing) {
                return result;
            }
            const int reply = SendMemberUpload(session, member, account).reply;
            result.tally.count(reply);
            if (UploadFailed(reply)) {
                result.failed.push_back(member);
            }
            owed = true;
            if (Clock::now() - lastTally >= session.uploadPacing.tallyInterval) {
                progress(result.tally);
                lastTally = Clock::now();
                owed = false;
            }
        }
    }
    if (owed) {
        progress(result.tally);
    }
    return result;
}

}  // namespace korvel
