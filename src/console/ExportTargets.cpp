#include "ExportTargets.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

namespace korvel::console {

namespace fs = std::filesystem;

namespace {

bool standardOutputOpen = true;

}  // namespace

void GuardStandardStreams()
{
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1)
            continue;
        if (fd == 1)
            standardOutputOpen = false;
        // The lowest free number: this very one.
        ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    }
}

WriteRefusal CheckWritable(const std::string& path)
{
    if (path == "-")
        return standardOutputOpen ? WriteRefusal::None : WriteRefusal::OutputClosed;
    const auto refusal = [](const char* checked, int mode) {
        if (::access(checked, mode) == 0)
            return WriteRefusal::None;
        return errno == EROFS ? WriteRefusal::ReadOnly : WriteRefusal::NoPermission;
    };
    std::error_code error;
    const fs::path target(path);
    if (fs::exists(target, error))
        return fs::is_directory(target, error) ? WriteRefusal::IsFolder : refusal(path.c_str(), W_OK);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, error))
        return WriteRefusal::FolderMissing;
    return refusal(folder.c_str(), W_OK | X_OK);
}

bool WriteToStandardOutput(const std::string& bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
}

}  // namespace korvel::console
