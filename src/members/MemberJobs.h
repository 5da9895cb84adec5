#pragma once

// The member page's work, each piece a job for a worker thread of the session: connecting, a read,
// a bulk upload and a single upload. A job reports its progress through callbacks that must return
// at once (the window posts what they carry to its own thread), stops when the session asks it to,
// and ends with a typed result. Which captions, states and boxes follow is for the window to say.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "members/MemberRecord.h"
#include "members/MemberSession.h"
#include "members/MemberUploadBody.h"
#include "web/HttpOutcome.h"

namespace korvel {

// Rows travel from a read to the list, and from the list to an upload, shared rather than copied.
using MemberBatch = std::shared_ptr<const std::vector<MemberRecord>>;

// The k-th member of the batches, counting from 0; null past the last.
const MemberRecord* MemberAt(const std::vector<MemberBatch>& batches, int k);

// The port as typed: the longest numeric prefix, truncated toward zero. No number, or one a 32-bit
// integer cannot hold, gives 0 (the client library's default port).
int MemberPortNumber(std::string_view text);

// Replaces the session's connection; false when the attempt failed or was cancelled.
bool ConnectMembers(MemberSession& session, const MemberDbAddress& address);

enum class MemberReadEnd { Failed, Stopped, Done };

struct MemberReadResult {
    MemberReadEnd end = MemberReadEnd::Failed;
    std::int32_t total = 0;  // rows the statement gave
    std::int32_t shown = 0;  // rows handed on before the read ended
    // The statement lost the connection, which is closed now: the next read needs a new connect.
    bool connectionClosed = false;
};

struct MemberReadEvents {
    // Every row of the statement is on the client: `total` of them, none handed on yet.
    std::function<void(std::int32_t total)> counted;
    // The next rows in order, paced by session.readPacing.
    std::function<void(MemberBatch rows)> rows;
};

// Runs `statement` and hands its rows on while session.memberReadingActive stays 1. No statement
// (an identifier that was refused) fails with nothing sent to the server.
MemberReadResult ReadMembers(MemberSession& session, const std::optional<std::string>& statement,
                             const MemberReadEvents& events);

struct BackendAccount {
    std::string userName;  // 编辑框4
    std::string password;  // 编辑框5
};

struct MemberUploadAnswer {
    // The back-end's number: 0 when it answered none or the request failed on the way.
    int reply = 0;
    HttpOutcome outcome;
};

// Posts one member to the back-end's endpoint (BackendAddress.h), once at most. An address that is
// no back-end address sends nothing and fails as HttpFailure::BadAddress.
MemberUploadAnswer SendMemberUpload(MemberSession& session, const MemberRecord& member,
                                    const BackendAccount& account);

struct MemberUploadResult {
    UploadTally tally;
    std::vector<MemberRecord> failed;  // in list order, ready to be sent again
    // Why requests got no answer: the first outcome of each distinct cause, in the order met.
    std::vector<HttpOutcome> transportFailures;
};

// Sends every member once, in order, and hands the tally on at most every
// session.uploadPacing.tallyInterval and after the last member. Stops early when the session is
// closing, and stops sending after a refused certificate: every further request would be refused
// the same way, so the members not sent count as failed and stay ready to be sent again.
MemberUploadResult UploadMembers(MemberSession& session, const std::vector<MemberBatch>& members,
                                 const BackendAccount& account,
                                 const std::function<void(const UploadTally&)>& progress);

}  // namespace korvel
