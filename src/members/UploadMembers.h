#pragma once

// Sending members to the back-end: all of the list from 按钮8 on a worker thread, the members that
// failed last time from the list's popup menu (on a worker thread too), or the selected row from
// the same menu.

#include <string>
#include <vector>

#include "members/MemberRecord.h"
#include "members/MemberScreen.h"
#include "members/MemberSession.h"

namespace korvel {

struct BackendAccount {
    std::string userName;  // 编辑框4
    std::string password;  // 编辑框5
};

BackendAccount ReadBackendAccount(MemberScreen& screen);

// Posts one member to "http://" + backendHost + "/app/index.php", once at most, and reads the
// reply: 0 when the request failed on the way (the back-end cannot be reached, the connection
// dropped, the page is closing) or the back-end answered no number.
int SendMemberUpload(MemberSession& session, const MemberRecord& member, const BackendAccount& account);

// 按钮8: locks the read button, the upload button and the combo box, takes the account fields,
// forgets the members that failed before and starts UploadAllMembersWorker.
void StartMemberUpload(MemberSession& session, MemberScreen& screen);

// Whether the popup menu may offer to send session.failedUploads again: there are some, and no
// worker runs.
bool CanRetryFailedUploads(const MemberSession& session);
// The popup menu's retry: the same as 按钮8 for the members in session.failedUploads only.
void StartFailedUploadRetry(MemberSession& session, MemberScreen& screen);

// Uploads every row of the list once, in order, keeps the tally in 标签19 and leaves the members
// that failed in session.failedUploads; stops early only when the window is closing.
void UploadAllMembersWorker(MemberSession& session, MemberScreen& screen, const BackendAccount& account);
// The same for the given members instead of the list's rows.
void UploadAllMembersWorker(MemberSession& session, MemberScreen& screen, const BackendAccount& account,
                            std::vector<MemberRecord> members);

// The popup menu's "导出": uploads the selected row and shows what the back-end answered.
void UploadSelectedMember(MemberSession& session, MemberScreen& screen);

}  // namespace korvel
