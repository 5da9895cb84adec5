#pragma once

// korvel-collect's session: the one a run carries, and --import-cookies.

#include <memory>

#include "Arguments.h"
#include "collect/CollectionRun.h"
#include "session/KeptSession.h"

namespace korvel::console {

struct RunSession {
    std::unique_ptr<KeptSession> session;  // none: the run goes without, as it always did
    bool usable = true;                    // false: --cookies named a file that gives no session
};

// --cookies FILE's session, else the kept one when it holds cookies. A problem is said on stderr.
RunSession OpenRunSession(const CollectCommand& command);

// A line on stderr when the kept session could not be written back during the run.
void ReportSessionSave(const RunSession& session);

// The marketplace asked the run's session to sign in again on a page it lost.
bool SignInExpired(const RunSession& session, const CollectionRun& run);

// --import-cookies SOURCE: the exit status, 0 when any cookie was imported.
int ImportCookies(const std::string& source);

}  // namespace korvel::console
