#include "members/ConnectMemberDatabase.h"

#include <cmath>
#include <cstdint>

#include "members/MemberTexts.h"
#include "text/Text.h"

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

}  // namespace

int MemberPortNumber(std::string_view text)
{
    const double value = std::trunc(ToNumber(text));
    if (!(value >= INT32_MIN && value <= INT32_MAX)) {
        return 0;
    }
    return static_cast<int>(value);
}

void ConnectMemberDatabase(MemberSession& session, MemberScreen& screen)
{
    MemberDbAddress address;
    address.port = static_cast<unsigned int>(MemberPortNumber(screen.fieldText(MemberField::Port)));
    address.host = Given(screen.fieldText(MemberField::Host));
    address.user = Given(screen.fieldText(MemberField::User));
    address.password = Given(screen.fieldText(MemberField::Password));
    address.database = Given(screen.fieldText(MemberField::Database));

    if (!session.connection().connect(address)) {
        screen.setStatus(member_text::ConnectFailedStatus);
        screen.showMessage(member_text::ConnectFailed, member_text::ConnectFailedTitle, MessageIcon::None);
        return;
    }
    screen.setStatus(member_text::ConnectedStatus);
    screen.setVisible(MemberControl::WarningLabel, false);
    screen.setVisible(MemberControl::ConnectionGroup, false);
    screen.moveMemberList(ListLeftConnected);
    screen.setMemberListWidth(ListWidthConnected);
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
