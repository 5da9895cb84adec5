#pragma once

// Where the shop history lives unless told otherwise.

#include <string>

namespace korvel {

// KORVEL_STORE when set; else $XDG_DATA_HOME/korvel/korvel.sqlite, with ~/.local/share in place
// of an unset or relative $XDG_DATA_HOME (as the XDG base directory rules say); "" when neither
// that nor $HOME is known.
std::string DefaultStorePath();

}  // namespace korvel
