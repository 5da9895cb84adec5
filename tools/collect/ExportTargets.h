#pragma once

// Where the console's exports go: a file, checked before the run begins, or standard output.

#include <string>

namespace korvel::console {

// True when `path` can be written: an existing file that may be written, or a new file in a folder
// that may be written. "-" (standard output) always can.
bool CanWrite(const std::string& path);

// Runs `write` with the path an export should use: `path` itself, or for "-" a private file whose
// bytes then go to standard output. False when `write` failed or the bytes could not be copied.
template <typename Write>
bool WithTarget(const std::string& path, Write write);

// The private file behind "-", and its copy to standard output.
std::string StandardOutputStandIn();
bool CopyToStandardOutput(const std::string& standIn);

template <typename Write>
bool WithTarget(const std::string& path, Write write)
{
    if (path != "-")
        return write(path);
    const std::string standIn = StandardOutputStandIn();
    return !standIn.empty() && write(standIn) && CopyToStandardOutput(standIn);
}

}  // namespace korvel::console
