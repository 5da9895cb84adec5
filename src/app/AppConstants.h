#pragma once

// Application-wide constants, set when the window is created and kept until the process ends.
// GBK, like every text inside Korvel.

#include <string>

namespace korvel {

struct AppConstants {
    std::string productTitle;
    std::string versionText;
    // host[:port] of the operator's back-end that receives member uploads.
    std::string backendHost;
    // The `i` query parameter of every upload.
    std::string backendAccountId;
};

// The placeholder back-end; KORVEL_BACKEND_HOST (host[:port]) replaces it, so the member upload
// can be tried against a local back-end.
inline constexpr char kDefaultBackendHost[] = "members.korvel.example";

AppConstants MakeAppConstants();

}  // namespace korvel
