#pragma once

// The form a member travels in to the back-end's entry endpoint, and how its reply reads.

#include <string>
#include <string_view>

#include "members/MemberRecord.h"
#include "text/Text.h"

namespace korvel {

// application/x-www-form-urlencoded: letters, digits and "*-._" stay, a space becomes "+", every
// other byte "%XX".
std::string FormEncode(std::string_view bytes);

// "i=…&c=entry&m=zqn_fxxt&do=shopcollection&login=5&username=…&password=…&from_user=…" and on
// through cells 3 to 17 of the row. Each value is turned into UTF-8 and form-encoded, so an "&",
// "=", "+" or "%" in a name or password arrives as typed instead of cutting the form apart.
// accountId defaults to the account number the window sends.
std::string BuildMemberUploadBody(const MemberRecord& member, const std::string& userName,
                                  const std::string& password, const std::string& accountId = "1");

// The reply's text up to its first zero byte read with ToInteger: no digits give 0.
int MemberUploadReply(const Bytes& body);

// A reply below 1, no reply among them, is a failed upload.
inline bool UploadFailed(int reply)
{
    return reply < 1;
}

// The three counters of a bulk upload.
struct UploadTally {
    int imported = 0;
    int updated = 0;
    int failed = 0;

    // Below 1 fails, 1 counts as imported, 2 as updated; anything above 2 is counted nowhere.
    void count(int reply);
};

}  // namespace korvel
