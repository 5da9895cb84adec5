#include "app/GbkCodec.h"
#include "app/MemberPresses.h"
#include "app/MemberTexts.h"
#include "members/BackendAddress.h"

namespace korvel {

bool BackendReady(MemberPageSession& session, MemberScreen& screen)
{
    using namespace backend_text;
    const std::string typed = session.backendHost();
    const std::optional<BackendAddress> address = ParseBackendAddress(typed);
    if (!address) {
        screen.showMessage(Utf8ToGbk(InvalidPrefix) + typed + Utf8ToGbk(InvalidSuffix),
                           Utf8ToGbk(member_text::ExportFailed), MessageIcon::None);
        return false;
    }
    if (address->secure || address->local() || session.clearTextAccepted) {
        return true;
    }
    session.clearTextAccepted = screen.askToGoOn(Utf8ToGbk(ClearTextPrefix) + typed + Utf8ToGbk(ClearTextSuffix),
                                                 Utf8ToGbk(ClearTextTitle));
    return session.clearTextAccepted;
}

}  // namespace korvel
