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
    DiskFull,      // seen only when written: no space left (or the quota is used up)
};

// None when `path` looks writable: an existing file that may be written, or a new file in a folder
// that may be written. A full disk or a refusing device shows only when written.
[[nodiscard]] WriteRefusal WhyNotWritable(const std::string& path);

// After a write to `path` failed with `error` (its errno): a full disk, or what WhyNotWritable says.
[[nodiscard]] WriteRefusal WhyNotWritten(const std::string& path, int error);

}  // namespace korvel
