#include "members/BackendAddress.h"
#include "members/MemberJobs.h"
#include "members/MemberUploadBody.h"
#include "text/Encoding.h"
#include "web/HttpRequest.h"

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
    HttpOptions options;
    options.postText = BytesToText(GbkToUtf8(body));
    options.cancel = &session.uploadCancellation();
    options.outcome = &answer.outcome;
    // The back-end may have applied an upload whose connection then dropped: sent again, the member
    // would be counted twice, under the wrong heading.
    options.sendOnce = true;
    // The members of a run follow each other within milliseconds and share one kept connection;
    // after a pause the next upload opens a fresh one rather than trust a connection the back-end
    // may be closing.
    options.recentConnectionsOnly = true;
    // Over https the shop requests' certificate checks apply, and a redirect never leads to plain
    // http.
    const Bytes reply = HttpRequest(address->endpoint(), 1, options);
    // Part of a reply cut off by a failure is no answer.
    if (answer.outcome.failure == HttpFailure::None) {
        answer.reply = MemberUploadReply(reply);
    }
    return answer;
}

}  // namespace korvel
