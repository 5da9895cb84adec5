#pragma once

// The back-end address the operator set in the window, kept in $XDG_CONFIG_HOME/korvel/korvel.ini
// (~/.config when the variable is unset) so that it survives a restart.

#include <string>

namespace korvel {

// The placeholder back-end, until the operator sets an address or KORVEL_BACKEND_HOST gives one.
inline constexpr char kDefaultBackendHost[] = "members.korvel.example";

// Empty when none was ever saved.
std::string SavedBackendAddress();
// False when the file could not be written.
[[nodiscard]] bool SaveBackendAddress(const std::string& address);

// KORVEL_BACKEND_HOST when set, else the saved address, else the placeholder above.
std::string BackendAddressAtStart();

}  // namespace korvel
