#include "members/ConnectMemberDatabase.h"

#include <cmath>
#include <cstdint>

#include "members/MemberTexts.h"
#include "text/Text.h"

namespace korvel {

namespace {

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
    screen.moveMemberList(10);
    screen.setMemberListWidth(957);
}

}  // namespace korvel
