// The bulk upload as a job on the session's worker: it hands its tally on without waiting for
// anyone, and stopping the session cuts a back-end that never answers short.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <mutex>
#include <thread>

#include "backend-stub/BackendStub.h"
#include "backend-stub/FlakyBackend.h"
#include "members/MemberJobs.h"

namespace korvel {
namespace {

MemberBatch ThreeMembers()
{
    std::vector<MemberRecord> members(3);
    for (int n = 0; n < 3; ++n) {
        members[static_cast<size_t>(n)].cell(2) = "oUser" + std::to_string(n + 1);
    }
    return std::make_shared<const std::vector<MemberRecord>>(std::move(members));
}

std::future<MemberUploadResult> StartUpload(MemberSession& session, const MemberBatch& members,
                                            std::function<void(const UploadTally&)> progress)
{
    auto done = std::make_shared<std::promise<MemberUploadResult>>();
    session.start(MemberJob::Upload, [&session, members, progress, done] {
        done->set_value(UploadMembers(session, {members}, {"admin", "secret"}, progress));
    });
    return done->get_future();
}

TEST(UploadMembersJob, TheTallyIsHandedOnAfterEveryMember)
{
    tools::BackendStub stub("admin", "secret");
    stub.start();
    MemberSession session(stub.host(), "1");
    std::mutex mutex;
    std::vector<int> handedOn;
    const MemberUploadResult result = StartUpload(session, ThreeMembers(), [&](const UploadTally& tally) {
                                          std::lock_guard lock(mutex);
                                          handedOn.push_back(tally.updated);
                                      }).get();
    EXPECT_EQ(result.tally.updated, 3);
    EXPECT_TRUE(result.failed.empty());
    std::lock_guard lock(mutex);
    EXPECT_EQ(handedOn, (std::vector<int>{1, 2, 3}));
}

TEST(UploadMembersJob, StoppingTheSessionCutsASilentBackEndShort)
{
    tools::FlakyBackend silent;
    ASSERT_TRUE(silent.listening());
    silent.silenceAll();
    MemberSession session(silent.host(), "1");
    auto done = StartUpload(session, ThreeMembers(), [](const UploadTally&) {});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (silent.silentRequests() == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ASSERT_EQ(silent.silentRequests(), 1);
    const auto start = std::chrono::steady_clock::now();
    session.shutdown();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    const MemberUploadResult result = done.get();
    EXPECT_EQ(result.tally.failed, 1);  // the member on its way; the others were never sent
    EXPECT_EQ(result.failed.size(), 1u);
}

}  // namespace
}  // namespace korvel
