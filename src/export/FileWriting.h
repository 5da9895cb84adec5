#pragma once

#include <string>
#include <string_view>

namespace korvel {

// Creates the file or replaces its whole contents with `bytes`. A regular file is replaced by
// renaming a finished copy over it, so a failure part-way leaves the old contents in place; other
// targets (a device, a pipe) are written directly. False when the file could not be written.
[[nodiscard]] bool WriteWholeFile(const std::string& path, std::string_view bytes);

// Writes every byte to the descriptor, through interrupted and partial writes.
[[nodiscard]] bool WriteAll(int fd, std::string_view bytes);

}  // namespace korvel
