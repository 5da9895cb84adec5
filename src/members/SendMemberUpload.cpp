#include "members/MemberTexts.h"
#include "members/MemberUploadBody.h"
#include "members/UploadMembers.h"
#include "web/Encoding.h"
#include "web/HttpRequest.h"

namespace korvel {

BackendAccount ReadBackendAccount(MemberScreen& screen)
{
    return {screen.fieldText(MemberField::BackendUser), screen.fieldText(MemberField::BackendPassword)};
}

int SendMemberUpload(MemberSession& session, const MemberRecord& member, const BackendAccount& account)
{
    const std::string body =
        BuildMemberUploadBody(member, account.userName, account.password, session.backendAccountId());
    HttpOutcome outcome;
    HttpOptions options;
    options.postText = BytesToText(GbkToUtf8(body));
    options.cancel = &session.uploadCancellation();
    options.outcome = &outcome;
    // The back-end may have applied an upload whose connection then dropped: sent again, the member
    // would be counted twice, under the wrong heading.
    options.sendOnce = true;
    // The members of a run follow each other within milliseconds and share one kept connection;
    // after a pause the next upload opens a fresh one rather than trust a connection the back-end
    // may be closing.
    options.recentConnectionsOnly = true;
    const Bytes reply = HttpRequest("http://" + session.backendHost() + "/app/index.php", 1, options);
    // Part of a reply cut off by a failure is no answer.
    return outcome.failure == HttpFailure::None ? MemberUploadReply(reply) : 0;
}

void UploadSelectedMember(MemberSession& session, MemberScreen& screen)
{
    const int row = screen.selectedMember();
    if (row < 0 || row >= screen.memberCount()) {
        return;
    }
    const MemberRecord member = screen.memberAt(row);
    switch (SendMemberUpload(session, member, ReadBackendAccount(screen))) {
        case 1:
            screen.showMessage(member_text::ReplyUpdated, member_text::ExportSucceeded, MessageIcon::None);
            break;
        case 2:
            screen.showMessage(member_text::ReplyImported, member_text::ExportSucceeded, MessageIcon::None);
            break;
        case -1:
            screen.showMessage(member_text::ReplyBadAccount, member_text::ExportFailed, MessageIcon::None);
            break;
        case -3:
            screen.showMessage(member_text::ReplyExists, member_text::ExportFailed, MessageIcon::None);
            break;
        default:
            break;
    }
}

}  // namespace korvel
