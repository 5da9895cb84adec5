#pragma once

#include <string>

namespace korvel {

// The CA file the client verifies servers against: the system store, or, when extraCaFile names
// a readable PEM file, one bundle of the system store and that file. The bundle is made once per
// extra file and kept for the life of the process, so its name stays the same and the client's
// cached certificate store stays valid.
std::string CaBundlePath(const std::string& extraCaFile);

}  // namespace korvel
