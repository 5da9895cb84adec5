#include "members/MemberTexts.h"
#include "members/UploadMembers.h"

namespace korvel {

namespace {

// Both ways into a bulk upload lock the same controls; the worker frees them when it ends.
bool BeginUpload(MemberSession& session, MemberScreen& screen)
{
    // Reached only through a disabled button or menu item otherwise.
    if (session.uploadRunning || session.memberReadingActive != 0) {
        return false;
    }
    screen.setEnabled(MemberControl::ReadButton, false);
    screen.setEnabled(MemberControl::UploadButton, false);
    screen.setEnabled(MemberControl::SchemaCombo, false);
    screen.setCaption(MemberControl::UploadButton, member_text::UploadButtonBusy);
    session.uploadRunning = true;
    return true;
}

}  // namespace

bool CanRetryFailedUploads(const MemberSession& session)
{
    return !session.failedUploads.empty() && !session.uploadRunning && !session.readerAlive &&
           session.memberReadingActive == 0;
}

void StartMemberUpload(MemberSession& session, MemberScreen& screen)
{
    if (!BeginUpload(session, screen)) {
        return;
    }
    session.failedUploads.clear();
    session.startUploader([&session, &screen, account = ReadBackendAccount(screen)] {
        UploadAllMembersWorker(session, screen, account);
    });
}

void StartFailedUploadRetry(MemberSession& session, MemberScreen& screen)
{
    if (!CanRetryFailedUploads(session) || !BeginUpload(session, screen)) {
        return;
    }
    auto members = session.failedUploads;
    session.startUploader([&session, &screen, account = ReadBackendAccount(screen), members] {
        UploadAllMembersWorker(session, screen, account, members);
    });
}

}  // namespace korvel
