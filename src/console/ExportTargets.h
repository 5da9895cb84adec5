#pragma once

// Where the console's exports go: a file, checked before the run begins, or standard output.

#include <string>

#include "export/WriteRefusal.h"

namespace korvel::console {

// Call first thing: a standard stream the program was started without is opened on /dev/null, so
// that no file or connection opened later takes its number (and an export meant for standard
// output lands in it). Standard output found closed then cannot take an export.
void GuardStandardStreams();

// None when `path` can be written: an existing file that may be written, or a new file in a folder
// that may be written. "-" can while standard output was open at start.
[[nodiscard]] WriteRefusal CheckWritable(const std::string& path);

// Writes the bytes to standard output; false when they did not all get there.
[[nodiscard]] bool WriteToStandardOutput(const std::string& bytes);

}  // namespace korvel::console
