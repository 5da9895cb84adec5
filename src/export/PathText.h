#pragma once

#include <string>

namespace korvel {

// A file-system path (UTF-8 on this platform) as GBK text for a message; a path that does not
// convert is shown as its own bytes.
std::string PathAsGbk(const std::string& path);

}  // namespace korvel
