#pragma once

// Application-wide constants, set when the window is created and kept until the process ends.
// GBK, like every text inside Korvel.

#include <string>

namespace korvel {

struct AppConstants {
    std::string productTitle;
    std::string versionText;
    // The address of the operator's back-end that receives member uploads (BackendAddress.h).
    std::string backendHost;
    // The `i` query parameter of every upload.
    std::string backendAccountId;
};

// The placeholder back-end, until the operator sets an address (BackendSetting.h) or
// KORVEL_BACKEND_HOST gives one.
inline constexpr char kDefaultBackendHost[] = "members.korvel.example";

AppConstants MakeAppConstants();

}  // namespace korvel
