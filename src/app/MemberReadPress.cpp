#include "app/GbkCodec.h"
#include "app/MemberPresses.h"
#include "app/MemberTexts.h"
#include "members/MemberQueries.h"
#include "text/Text.h"

namespace korvel {

namespace {

using member_text::CountSuffix;

std::string StoppedStatus(std::int32_t total, std::int32_t shown)
{
    return Utf8ToGbk(member_text::ReadStoppedPrefix) + IntToText(total) +
           Utf8ToGbk(member_text::ReadStoppedMiddle) + IntToText(shown) + Utf8ToGbk(CountSuffix);
}

void ShowCounted(MemberPageSession& session, MemberScreen& screen, std::int32_t total)
{
    // A stop press may have let an upload start meanwhile; the list is then the upload's.
    if (!session.uploadRunning) {
        screen.clearMembers();
        session.failedUploads.clear();  // they belonged to the list that goes
    }
    screen.setStatus(Utf8ToGbk(member_text::ReadDonePrefix) + IntToText(total) + Utf8ToGbk(CountSuffix));
}

// While an upload runs (it can start after a stop press) the buttons and the combo box are the
// upload's to restore.
void ShowReadEnd(MemberPageSession& session, MemberScreen& screen, const MemberReadResult& result)
{
    session.readerAlive = false;
    const bool controlsFree = !session.uploadRunning;
    if (result.end == MemberReadEnd::Stopped) {
        screen.setStatus(StoppedStatus(result.total, result.shown));
    } else {
        session.memberReadingActive = 0;
        screen.setCaption(MemberControl::ReadButton, Utf8ToGbk(member_text::ReadButtonIdle));
        if (controlsFree) {
            screen.setEnabled(MemberControl::SchemaCombo, true);
        }
        if (controlsFree && result.end == MemberReadEnd::Done && result.total > 0) {
            screen.setEnabled(MemberControl::UploadButton, true);
        }
    }
    if (controlsFree) {
        screen.setEnabled(MemberControl::ReadButton, true);
    }
    if (result.connectionClosed) {
        ShowConnectionGroup(screen);
    }
    if (result.end == MemberReadEnd::Failed) {
        screen.showMessage(Utf8ToGbk(member_text::QueryFailed), "", MessageIcon::Error);
    }
}

void StartReading(MemberPageSession& session, MemberScreen& screen)
{
    screen.setCaption(MemberControl::ReadButton, Utf8ToGbk(member_text::ReadButtonStop));
    session.memberReadingActive = 1;
    screen.setEnabled(MemberControl::UploadButton, false);
    screen.setCaption(MemberControl::UploadButton, Utf8ToGbk(member_text::UploadButtonIdle));
    screen.setEnabled(MemberControl::SchemaCombo, false);
    session.readerAlive = true;
    auto statement = BuildMemberQuery(screen.schemaValue(), screen.fieldText(MemberField::AccountId));
    session.start(MemberJob::Read, [&session, &screen, statement = std::move(statement)] {
        const MemberReadEvents events{
            [&](std::int32_t total) { screen.post([&, total] { ShowCounted(session, screen, total); }); },
            [&](MemberBatch rows) { screen.post([&screen, rows] { screen.appendMembers(rows); }); }};
        const MemberReadResult result = ReadMembers(session, statement, events);
        screen.post([&session, &screen, result] { ShowReadEnd(session, screen, result); });
    });
}

void StopReading(MemberPageSession& session, MemberScreen& screen)
{
    session.memberReadingActive = 0;
    screen.setCaption(MemberControl::ReadButton, Utf8ToGbk(member_text::ReadButtonIdle));
    screen.setEnabled(MemberControl::UploadButton, true);
    screen.setCaption(MemberControl::UploadButton, Utf8ToGbk(member_text::UploadButtonIdle));
    screen.setEnabled(MemberControl::SchemaCombo, true);
    // The read may still wait for the server; its end enables the button.
    screen.setEnabled(MemberControl::ReadButton, false);
}

}  // namespace

void ToggleMemberReading(MemberPageSession& session, MemberScreen& screen)
{
    if (!session.connection().connected()) {
        screen.showMessage(Utf8ToGbk(member_text::NotConnected), Utf8ToGbk(member_text::ConnectFailedTitle),
                           MessageIcon::None);
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
