#pragma once

// An in-memory member page uploading to a back-end stub on 127.0.0.1.

#include <gtest/gtest.h>

#include <memory>

#include "app/JobRunner.h"
#include "MemoryMemberScreen.h"
#include "backend-stub/BackendStub.h"
#include "backend-stub/FlakyBackend.h"
#include "members/MemberResult.h"
#include "app/MemberPresses.h"
#include "support/MemberTestDatabase.h"

namespace korvel::test {

inline MemberRecord NumberedMember(int n)
{
    MemberRecord m;
    m.caption = MemberRowCaption(n);
    m.cell(1) = "1";
    m.cell(2) = "oUser" + std::to_string(n);
    m.cell(4) = "Member " + std::to_string(n);
    m.cell(9) = "1.5";
    return m;
}

class UploadMembersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        stub.start();
        session = std::make_unique<MemberPageSession>(jobs, stub.host(), "1");
        screen.fields[MemberField::BackendUser] = "admin";
        screen.fields[MemberField::BackendPassword] = "secret";
    }

    // From here on the session uploads to the back-end that fails chosen members.
    void useFlakyBackend()
    {
        ASSERT_TRUE(flaky.listening());
        session = std::make_unique<MemberPageSession>(jobs, flaky.host(), "1");
    }

    void fillList(int count)
    {
        for (int n = 1; n <= count; ++n) {
            screen.rows.push_back(NumberedMember(n));
        }
    }

    // Presses 按钮8 and waits for the worker's last call into the window.
    void uploadAll()
    {
        screen.onWindow([&] { StartMemberUpload(*session, screen); });
        ASSERT_TRUE(screen.waitFor([&] { return !session->uploadRunning; }));
    }

    // Chooses the popup menu's "导出" and waits until its answer is shown.
    void uploadSelected()
    {
        screen.onWindow([&] { UploadSelectedMember(*session, screen); });
        ASSERT_TRUE(screen.waitFor([&] { return !session->sendingOne; }));
    }

    // Chooses the popup menu's retry and waits for the worker's last call into the window.
    void retryFailed()
    {
        screen.onWindow([&] { StartFailedUploadRetry(*session, screen); });
        ASSERT_TRUE(screen.waitFor([&] { return !session->uploadRunning; }));
    }

    std::vector<std::string> failedUsers()
    {
        std::vector<std::string> users;
        screen.onWindow([&] {
            for (const MemberRecord& member : session->failedUploads) {
                users.push_back(member.cell(2));
            }
        });
        return users;
    }

    void expectControlsFree()
    {
        EXPECT_TRUE(screen.control(MemberControl::ReadButton).enabled);
        EXPECT_TRUE(screen.control(MemberControl::UploadButton).enabled);
        EXPECT_TRUE(screen.control(MemberControl::SchemaCombo).enabled);
        EXPECT_EQ(screen.control(MemberControl::UploadButton).caption, Gbk("导入会员信息"));
    }

    // Declared so that the session's workers end before the screen and the stub go away.
    tools::BackendStub stub{"admin", "secret"};
    tools::FlakyBackend flaky;
    MemoryMemberScreen screen;
    JobRunner jobs;
    std::unique_ptr<MemberPageSession> session;
};

}  // namespace korvel::test
