#pragma once

// Browser profiles made the way Firefox and Chromium write them, for the import to read.

#include <string>
#include <vector>

#include "session/Cookie.h"

namespace korvel::test {

// folder/cookies.sqlite with Firefox's moz_cookies table; expiry in milliseconds when asked.
void MakeFirefoxProfile(const std::string& folder, const std::vector<Cookie>& cookies, bool millisecondExpiry = false);

// folder/Network/Cookies (or folder/Cookies when `older`) with Chromium's cookies and meta tables;
// every value sealed as `prefix` ("v10": with the key of no keyring; "v11": with `password`'s), with
// the host's SHA-256 digest before it from `version` 24 on.
struct ChromiumSealing {
    int version = 24;
    std::string prefix = "v10";
    std::string password = "peanuts";
    bool older = false;
};
void MakeChromiumProfile(const std::string& folder, const std::vector<Cookie>& cookies, const ChromiumSealing& sealing = {});

}  // namespace korvel::test
