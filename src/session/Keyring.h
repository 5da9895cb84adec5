#pragma once

// The password Chromium keeps in the desktop's Secret Service (GNOME Keyring, KWallet's bridge)
// for its "v11" cookie values.

#include <optional>
#include <string>

#include "session/ImportSource.h"

namespace korvel {

struct KeyringPassword {
    std::optional<std::string> password;
    std::string reason;  // why there is none: no libsecret in this build, no service, locked, absent
};

KeyringPassword ChromiumKeyringPassword(Browser browser);

}  // namespace korvel
