#include "members/BackendAddress.h"
#include "members/MemberJobs.h"
#include "members/MemberUploadBody.h"
#include "text/Encoding.h"
#include "web/HttpCall.h"

namespace korvel {

MemberUploadAnswer SendMemberUpload(MemberSession& session, const MemberRecord& member,
                                    const BackendAccount& account)
{
    const std::string body =
        BuildMemberUploadBody(member, account.userName, account.password, session.backendAccountId());
    MemberUploadAnswer answer;
    const std::optional<BackendAddress> address = ParseBackendAddress(session.backendHost());
    if (!address) {
        answer.outcome.failure = HttpFailure::BadAddress;  // nothing goes anywhere
        return answer;
    }
    // The back-end may have applied an upload whose connection then dropped: sent again, the member
    // would be counted twice, under the wrong heading (sendOnce). The members of a run follow each
    // other within milliseconds and share one kept connection; after a pause the next upload opens a
    // fresh one rather than trust a connection the back-end may be closing (recentConnectionsOnly).
    // Over https the shop requests' certificate checks apply, and a redirect never leads to plain
    // http.
    const HttpReply reply = Send({.url = address->endpoint(),
                                  .method = 1,
                                  .body = BytesToText(GbkToUtf8(body)),
                                  .cancel = &session.uploadCancellation(),
                                  .sendOnce = true,
                                  .recentConnectionsOnly = true});
    answer.outcome = reply.outcome;
    // Part of a reply cut off by a failure is no answer.
    if (answer.outcome.failure == HttpFailure::None) {
        answer.reply = MemberUploadReply(reply.body);
    }
    return answer;
}

}  // namespace korvel
