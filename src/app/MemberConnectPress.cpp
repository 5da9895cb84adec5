#include "app/GbkCodec.h"
#include "app/MemberPresses.h"
#include "app/MemberTexts.h"

namespace korvel {

namespace {

// The member list's place beside the connection group, and in the group's room once connected.
constexpr int ListLeftBesideGroup = 255;
constexpr int ListWidthBesideGroup = 712;
constexpr int ListLeftConnected = 10;
constexpr int ListWidthConnected = 957;

std::optional<std::string> Given(std::string text)
{
    if (text.empty()) {
        return std::nullopt;
    }
    return text;
}

MemberDbAddress TypedAddress(MemberScreen& screen)
{
    MemberDbAddress address;
    address.port = static_cast<unsigned int>(MemberPortNumber(screen.fieldText(MemberField::Port)));
    address.host = Given(screen.fieldText(MemberField::Host));
    address.user = Given(screen.fieldText(MemberField::User));
    address.password = Given(screen.fieldText(MemberField::Password));
    address.database = Given(screen.fieldText(MemberField::Database));
    return address;
}

void ShowConnected(MemberPageSession& session, MemberScreen& screen, bool connected)
{
    session.connecting = false;
    if (!connected) {
        screen.setStatus(Utf8ToGbk(member_text::ConnectFailedStatus));
        screen.showMessage(Utf8ToGbk(member_text::ConnectFailed), Utf8ToGbk(member_text::ConnectFailedTitle),
                           MessageIcon::None);
        return;
    }
    screen.setStatus(Utf8ToGbk(member_text::ConnectedStatus));
    screen.setVisible(MemberControl::WarningLabel, false);
    screen.setVisible(MemberControl::ConnectionGroup, false);
    screen.moveMemberList(ListLeftConnected);
    screen.setMemberListWidth(ListWidthConnected);
}

}  // namespace

void ConnectMemberDatabase(MemberPageSession& session, MemberScreen& screen)
{
    // A second press while the first attempt still waits on the server adds nothing.
    if (session.connecting) {
        return;
    }
    session.connecting = true;
    session.start(MemberJob::Connect, [&session, &screen, address = TypedAddress(screen)] {
        const bool connected = ConnectMembers(session, address);
        screen.post([&session, &screen, connected] { ShowConnected(session, screen, connected); });
    });
}

void ShowConnectionGroup(MemberScreen& screen)
{
    // Narrowed first, so that the list never reaches past its right edge on the way.
    screen.setMemberListWidth(ListWidthBesideGroup);
    screen.moveMemberList(ListLeftBesideGroup);
    screen.setVisible(MemberControl::ConnectionGroup, true);
    screen.setVisible(MemberControl::WarningLabel, true);
}

}  // namespace korvel
