#pragma once

// Where the browsers keep their profiles under the home folder.

#include <string>

#include "session/ImportSource.h"

namespace korvel {

struct ProfileFolder {
    std::string folder;  // empty when not found
    std::string lookedAt;  // where it was looked for, to name when it was not found
};

ProfileFolder FirefoxProfile(const std::string& profile);
ProfileFolder ChromiumProfile(Browser browser, const std::string& profile);

}  // namespace korvel
