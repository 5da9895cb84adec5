#include <cmath>
#include <cstdint>

#include "members/MemberJobs.h"
#include "text/Text.h"

namespace korvel {

int MemberPortNumber(std::string_view text)
{
    const double value = std::trunc(ToNumber(text));
    if (!(value >= INT32_MIN && value <= INT32_MAX)) {
        return 0;
    }
    return static_cast<int>(value);
}

bool ConnectMembers(MemberSession& session, const MemberDbAddress& address)
{
    return session.connection().connect(address);
}

}  // namespace korvel
