#include "members/MemberTexts.h"
#include "members/MemberUploadBody.h"
#include "members/UploadMembers.h"

namespace korvel {

void UploadAllMembersWorker(MemberSession& session, MemberScreen& screen, const BackendAccount& account)
{
    int count = 0;
    MemberRecord next;
    bool open = screen.invoke([&] {
        count = screen.memberCount();
        if (count > 0) {
            next = screen.memberAt(0);
        }
    });
    UploadTally tally;
    // Each call into the window writes the tally of one member and reads the row after it.
    for (int row = 0; open && row < count && !session.closing; ++row) {
        tally.count(SendMemberUpload(session, next, account));
        open = screen.invoke([&] {
            screen.setStatus(tally.text());
            if (row + 1 < count) {
                next = screen.memberAt(row + 1);
            }
        });
    }
    if (!open) {
        return;
    }
    screen.invoke([&] {
        session.uploadRunning = false;
        if (!session.readerAlive) {
            screen.setEnabled(MemberControl::ReadButton, true);
        }
        screen.setEnabled(MemberControl::UploadButton, true);
        screen.setEnabled(MemberControl::SchemaCombo, true);
        screen.setCaption(MemberControl::UploadButton, member_text::UploadButtonIdle);
    });
}

}  // namespace korvel
