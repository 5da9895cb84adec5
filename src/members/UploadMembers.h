#pragma once

// Sending members to the back-end: all of the list from 按钮8 on a worker thread, or the selected
// row from the list's popup menu.

#include <string>

#include "members/MemberRecord.h"
#include "members/MemberScreen.h"
#include "members/MemberSession.h"

namespace korvel {

struct BackendAccount {
    std::string userName;  // 编辑框4
    std::string password;  // 编辑框5
};

// Posts one member to "http://" + backendHost + "/app/index.php" and reads the reply (0 when the
// back-end cannot be reached or answers no number).
int SendMemberUpload(const MemberSession& session, const MemberRecord& member, const BackendAccount& account);

// 按钮8: locks the read button, the upload button and the combo box, takes the account fields and
// starts UploadAllMembersWorker.
void StartMemberUpload(MemberSession& session, MemberScreen& screen);

// Uploads every row of the list once, in order, and keeps the tally in 标签19; stops early only
// when the window is closing.
void UploadAllMembersWorker(MemberSession& session, MemberScreen& screen, const BackendAccount& account);

// The popup menu's "导出": uploads the selected row and shows what the back-end answered.
void UploadSelectedMember(MemberSession& session, MemberScreen& screen);

}  // namespace korvel
