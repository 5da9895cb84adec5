#include "app/GbkCodec.h"
#include "app/MemberPresses.h"
#include "app/MemberTexts.h"
#include "app/MemberUploadCause.h"

namespace korvel {

namespace {

void ShowAnswer(MemberPageSession& session, MemberScreen& screen, const MemberUploadAnswer& answer)
{
    session.sendingOne = false;
    using namespace member_text;
    switch (answer.reply) {
        case 1:
            screen.showMessage(Utf8ToGbk(ReplyUpdated), Utf8ToGbk(ExportSucceeded), MessageIcon::None);
            return;
        case 2:
            screen.showMessage(Utf8ToGbk(ReplyImported), Utf8ToGbk(ExportSucceeded), MessageIcon::None);
            return;
        case -1:
            screen.showMessage(Utf8ToGbk(ReplyBadAccount), Utf8ToGbk(ExportFailed), MessageIcon::None);
            return;
        case -3:
            screen.showMessage(Utf8ToGbk(ReplyExists), Utf8ToGbk(ExportFailed), MessageIcon::None);
            return;
        default:
            break;
    }
    // The request never reached an answer: the box names why.
    if (answer.outcome.failure != HttpFailure::None && answer.outcome.failure != HttpFailure::Cancelled) {
        screen.showMessage(UploadCause(answer.outcome), Utf8ToGbk(ExportFailed), MessageIcon::None);
    }
}

}  // namespace

bool CanUploadSelectedMember(const MemberPageSession& session, MemberScreen& screen)
{
    return screen.selectedMember() != -1 && !session.sendingOne;
}

void UploadSelectedMember(MemberPageSession& session, MemberScreen& screen)
{
    const std::vector<MemberBatch> members = screen.members();
    const MemberRecord* member = MemberAt(members, screen.selectedMember());
    if (member == nullptr || session.sendingOne || !BackendReady(session, screen)) {
        return;
    }
    session.sendingOne = true;
    session.start(MemberJob::SingleUpload, [&session, &screen, member = *member,
                                            account = ReadBackendAccount(screen)] {
        const MemberUploadAnswer answer = SendMemberUpload(session, member, account);
        screen.post([&session, &screen, answer] { ShowAnswer(session, screen, answer); });
    });
}

}  // namespace korvel
