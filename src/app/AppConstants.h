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

AppConstants MakeAppConstants();

}  // namespace korvel
