#pragma once

// The member page's presses and what the window shows when their jobs end: 按钮6 connects, 按钮7
// reads or stops a read, 按钮8 uploads every member, and the list's menu sends the selected member or
// the failed ones again. Each press starts a job on the session and returns; the job posts its
// progress and its end back through the screen.

#include "app/MemberPageSession.h"
#include "app/MemberScreen.h"

namespace korvel {

// Connects with the five connection fields (each empty one passed as absent). On success the
// connection group and the warning label go away and the member list takes their room.
void ConnectMemberDatabase(MemberPageSession& session, MemberScreen& screen);

// Undoes a successful connect's changes to the page once its connection is gone, so that the user
// can connect again.
void ShowConnectionGroup(MemberScreen& screen);

// Starts a read, or asks the running one to stop. After a stop press the button stays disabled
// until that read has really ended, so no two readers meet on the connection.
void ToggleMemberReading(MemberPageSession& session, MemberScreen& screen);

BackendAccount ReadBackendAccount(MemberScreen& screen);

// Before an upload: false, with the reason shown, when the back-end address is no address, or when
// it is plain HTTP to another machine and the operator stops at the one word said about it.
bool BackendReady(MemberPageSession& session, MemberScreen& screen);

// 按钮8: locks the read button, the upload button and the combo box, forgets the members that failed
// before and uploads every row of the list.
void StartMemberUpload(MemberPageSession& session, MemberScreen& screen);

// Whether the menu may offer to send session.failedUploads again: there are some, and no job that
// uses the list runs.
bool CanRetryFailedUploads(const MemberPageSession& session);
// The menu's retry: the same as 按钮8 for the members in session.failedUploads only.
void StartFailedUploadRetry(MemberPageSession& session, MemberScreen& screen);

// Whether the menu may offer "导出": a row is selected and no single upload is on its way.
bool CanUploadSelectedMember(const MemberPageSession& session, MemberScreen& screen);
// The menu's "导出": uploads the selected row and shows what the back-end answered, or why no answer
// came.
void UploadSelectedMember(MemberPageSession& session, MemberScreen& screen);

}  // namespace korvel
