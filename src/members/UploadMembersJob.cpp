#include <algorithm>
#include <chrono>

#include "members/MemberJobs.h"

namespace korvel {

namespace {

void NoteTransportFailure(std::vector<HttpOutcome>& failures, const HttpOutcome& outcome)
{
    if (outcome.failure == HttpFailure::None || outcome.failure == HttpFailure::Cancelled) {
        return;
    }
    const bool known = std::any_of(failures.begin(), failures.end(), [&outcome](const HttpOutcome& seen) {
        return seen.failure == outcome.failure && seen.certificate == outcome.certificate;
    });
    if (!known) {
        failures.push_back(outcome);
    }
}

void CountAsFailed(MemberUploadResult& result, const MemberRecord& member)
{
    result.tally.count(0);
    result.failed.push_back(member);
}

}  // namespace

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
    bool refused = false;  // the back-end's certificate was refused: nothing more goes out
    for (const MemberBatch& batch : members) {
        for (const MemberRecord& member : *batch) {
            if (session.closing) {
                return result;
            }
            owed = true;
            if (refused) {
                CountAsFailed(result, member);
                continue;
            }
            const MemberUploadAnswer answer = SendMemberUpload(session, member, account);
            NoteTransportFailure(result.transportFailures, answer.outcome);
            refused = answer.outcome.failure == HttpFailure::Certificate;
            result.tally.count(answer.reply);
            if (UploadFailed(answer.reply)) {
                result.failed.push_back(member);
            }
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
