#include "members/MemberTexts.h"
#include "members/ReadMembers.h"

namespace korvel {

namespace {

void StartReading(MemberSession& session, MemberScreen& screen)
{
    screen.setCaption(MemberControl::ReadButton, member_text::ReadButtonStop);
    session.memberReadingActive = 1;
    screen.setEnabled(MemberControl::UploadButton, false);
    screen.setCaption(MemberControl::UploadButton, member_text::UploadButtonIdle);
    screen.setEnabled(MemberControl::SchemaCombo, false);
    session.readerAlive = true;
    session.startReader([&session, &screen] { ReadMembersWorker(session, screen); });
}

void StopReading(MemberSession& session, MemberScreen& screen)
{
    session.memberReadingActive = 0;
    screen.setCaption(MemberControl::ReadButton, member_text::ReadButtonIdle);
    screen.setEnabled(MemberControl::UploadButton, true);
    screen.setCaption(MemberControl::UploadButton, member_text::UploadButtonIdle);
    screen.setEnabled(MemberControl::SchemaCombo, true);
    // The worker may still wait for the server; it enables the button when it ends.
    screen.setEnabled(MemberControl::ReadButton, false);
}

}  // namespace

void ToggleMemberReading(MemberSession& session, MemberScreen& screen)
{
    if (!session.connection().connected()) {
        screen.showMessage(member_text::NotConnected, member_text::ConnectFailedTitle, MessageIcon::None);
        return;
    }
    if (session.memberReadingActive == 0) {
        // Reached only through a disabled button otherwise; refuse rather than share the list.
        if (!session.readerAlive && !session.uploadRunning) {
            StartReading(session, screen);
        }
        return;
    }
    StopReading(session, screen);
}

}  // namespace korvel
