#pragma once

// The read button 按钮7 of the member page and the worker it starts.

#include "members/MemberScreen.h"
#include "members/MemberSession.h"

namespace korvel {

// Starts a read on a worker thread, or asks the running one to stop. After a stop press the
// button stays disabled until that worker has really ended, so no two readers meet on the
// connection.
void ToggleMemberReading(MemberSession& session, MemberScreen& screen);

// The reader: runs the statement of the chosen schema generation and fills the member list row
// by row while memberReadingActive stays 1. Reaches the window through screen.invoke() only.
void ReadMembersWorker(MemberSession& session, MemberScreen& screen);

}  // namespace korvel
