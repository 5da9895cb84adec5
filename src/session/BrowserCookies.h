#pragma once

// The marketplace's cookies from a browser profile's cookie database.

#include <string>

#include "session/ImportSource.h"

namespace korvel {

// PROFILE: a profile folder, or a profile's name in ~/.mozilla/firefox; empty = the default one
// (installs.ini's, else profiles.ini's).
ImportResult ReadFirefoxCookies(const std::string& profile);

// PROFILE: a profile folder, or a profile's name under ~/.config/chromium (google-chrome for
// Chrome); empty = "Default".
ImportResult ReadChromiumCookies(Browser browser, const std::string& profile);

}  // namespace korvel
