#pragma once

// Where the console's exports go: a file, checked before the run begins, or standard output.

#include <string>

namespace korvel::console {

// Call first thing: a standard stream the program was started without is opened on /dev/null, so
// that no file or connection opened later takes its number (and an export meant for standard
// output lands in it). Standard output found closed then cannot take an export.
void GuardStandardStreams();

// True when `path` can be written: an existing file that may be written, or a new file in a folder
// that may be written. "-" can while standard output was open at start.
[[nodiscard]] bool CanWrite(const std::string& path);

// Runs `write` with the path an export should use: `path` itself, or for "-" a private file whose
// bytes then go to standard output. False when `write` failed or the bytes could not be copied.
template <typename Write>
[[nodiscard]] bool WithTarget(const std::string& path, Write write);

// The private file behind "-", and its copy to standard output.
std::string StandardOutputStandIn();
[[nodiscard]] bool CopyToStandardOutput(const std::string& standIn);

template <typename Write>
bool WithTarget(const std::string& path, Write write)
{
    if (path != "-")
        return write(path);
    const std::string standIn = StandardOutputStandIn();
    return !standIn.empty() && write(standIn) && CopyToStandardOutput(standIn);
}

}  // namespace korvel::console
