#pragma once

// Why a path cannot take an export, found by asking the file system before or after writing.

#include <string>

namespace korvel {

enum class WriteRefusal {
    None,
    FolderMissing,
    IsFolder,
    ReadOnly,  // the file system is mounted read-only
    NoPermission,
    OutputClosed,  // standard output, closed when the program started
};

// None when `path` looks writable: an existing file that may be written, or a new file in a folder
// that may be written. A full disk or a refusing device shows only when written.
[[nodiscard]] WriteRefusal WhyNotWritable(const std::string& path);

}  // namespace korvel
