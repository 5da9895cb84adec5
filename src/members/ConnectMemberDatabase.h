#pragma once

// The connect button 按钮6 of the member page.

#include <string_view>

#include "members/MemberScreen.h"
#include "members/MemberSession.h"

namespace korvel {

// The port as typed: the longest numeric prefix, truncated toward zero. No number, or one a 32-bit
// integer cannot hold, gives 0 (the client library's default port).
int MemberPortNumber(std::string_view text);

// Connects with the five connection fields (each empty one passed as absent) and shows the outcome.
// On success the connection group and the warning label go away and the member list takes their room.
void ConnectMemberDatabase(MemberSession& session, MemberScreen& screen);

// Undoes a successful connect's changes to the page once its connection is gone, so that the user
// can connect again.
void ShowConnectionGroup(MemberScreen& screen);

}  // namespace korvel
