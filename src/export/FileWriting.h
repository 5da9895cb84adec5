#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace korvel {

// Writes a whole file at `path` by name, as a library that opens its files itself does; false,
// with errno set, when it could not.
using FileFiller = std::function<bool(const std::string& path)>;

// Creates the file or replaces its whole contents with `bytes`. A regular file is replaced by
// renaming a finished copy over it, so a failure part-way leaves the old contents in place; other
// targets (a device, a pipe) are written directly. False when the file could not be written.
[[nodiscard]] bool WriteWholeFile(const std::string& path, std::string_view bytes);
// The same for a file another writer fills.
[[nodiscard]] bool WriteWholeFile(const std::string& path, FileFiller fill);

// Writes every byte to the descriptor, through interrupted and partial writes.
[[nodiscard]] bool WriteAll(int fd, std::string_view bytes);

// The same in two steps, so that several files land together: write() puts a finished copy beside
// the target, commit() renames it into place. A copy never committed is removed with the object.
class StagedFile {
public:
    StagedFile(std::string path, std::string bytes);
    StagedFile(std::string path, FileFiller fill);
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    [[nodiscard]] bool write();
    [[nodiscard]] bool commit();
    // A device or a pipe cannot be written aside: commit() writes it in place.
    bool inPlace() const { return inPlace_; }

private:
    bool fillAside(int fd);
    bool fillInPlace();

    std::string target_;
    std::string bytes_;
    FileFiller fill_;  // when set, it writes the file instead of bytes_
    std::string aside_;
    bool inPlace_ = false;
};

}  // namespace korvel
