#include "app/GbkCodec.h"
#include "app/MemberPresses.h"
#include "app/MemberTexts.h"
#include "app/MemberUploadCause.h"
#include "text/Text.h"

namespace korvel {

namespace {

std::string TallyText(const UploadTally& tally)
{
    return Utf8ToGbk(member_text::TallyImported) + IntToText(tally.imported) +
           Utf8ToGbk(member_text::TallyUpdated) + IntToText(tally.updated) + Utf8ToGbk(member_text::TallyFailed) +
           IntToText(tally.failed);
}

// Both ways into a bulk upload lock the same controls; the upload's end frees them.
bool BeginUpload(MemberPageSession& session, MemberScreen& screen)
{
    // Reached only through a disabled button or menu item otherwise.
    if (session.uploadRunning || session.memberReadingActive != 0 || !BackendReady(session, screen)) {
        return false;
    }
    screen.setEnabled(MemberControl::ReadButton, false);
    screen.setEnabled(MemberControl::UploadButton, false);
    screen.setEnabled(MemberControl::SchemaCombo, false);
    screen.setCaption(MemberControl::UploadButton, Utf8ToGbk(member_text::UploadButtonBusy));
    session.uploadRunning = true;
    return true;
}

// The tally alone would leave the operator guessing why members failed when the back-end never
// answered (a refused certificate above all): the box repeats the tally and names each cause once.
void ShowTransportFailures(MemberScreen& screen, const MemberUploadResult& result)
{
    if (result.transportFailures.empty()) {
        return;
    }
    std::string text = TallyText(result.tally);
    for (const HttpOutcome& outcome : result.transportFailures) {
        text += "\n" + UploadCause(outcome);
    }
    screen.showMessage(text, Utf8ToGbk(member_text::ExportFailed), MessageIcon::None);
}

void ShowUploadEnd(MemberPageSession& session, MemberScreen& screen, MemberUploadResult& result)
{
    session.uploadRunning = false;
    session.failedUploads = std::move(result.failed);
    if (!session.readerAlive) {
        screen.setEnabled(MemberControl::ReadButton, true);
    }
    screen.setEnabled(MemberControl::UploadButton, true);
    screen.setEnabled(MemberControl::SchemaCombo, true);
    screen.setCaption(MemberControl::UploadButton, Utf8ToGbk(member_text::UploadButtonIdle));
    ShowTransportFailures(screen, result);
}

void Upload(MemberPageSession& session, MemberScreen& screen, std::vector<MemberBatch> members)
{
    session.start(MemberJob::Upload, [&session, &screen, members = std::move(members),
                                      account = ReadBackendAccount(screen)] {
        auto shown = [&screen](const UploadTally& tally) {
            screen.post([&screen, text = TallyText(tally)] { screen.setStatus(text); });
        };
        auto result = std::make_shared<MemberUploadResult>(UploadMembers(session, members, account, shown));
        screen.post([&session, &screen, result] { ShowUploadEnd(session, screen, *result); });
    });
}

}  // namespace

BackendAccount ReadBackendAccount(MemberScreen& screen)
{
    return {screen.fieldText(MemberField::BackendUser), screen.fieldText(MemberField::BackendPassword)};
}

bool CanRetryFailedUploads(const MemberPageSession& session)
{
    return !session.failedUploads.empty() && !session.uploadRunning && !session.readerAlive &&
           session.memberReadingActive == 0;
}

void StartMemberUpload(MemberPageSession& session, MemberScreen& screen)
{
    if (!BeginUpload(session, screen)) {
        return;
    }
    session.failedUploads.clear();
    Upload(session, screen, screen.members());
}

void StartFailedUploadRetry(MemberPageSession& session, MemberScreen& screen)
{
    if (!CanRetryFailedUploads(session) || !BeginUpload(session, screen)) {
        return;
    }
    Upload(session, screen, {std::make_shared<const std::vector<MemberRecord>>(session.failedUploads)});
}

}  // namespace korvel
