#include "export/WriteRefusal.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace korvel {

namespace fs = std::filesystem;

WriteRefusal WhyNotWritable(const std::string& path)
{
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

WriteRefusal WhyNotWritten(const std::string& path, int error)
{
    const WriteRefusal refusal = WhyNotWritable(path);
    if (refusal == WriteRefusal::None && (error == ENOSPC || error == EDQUOT))
        return WriteRefusal::DiskFull;
    return refusal;
}

}  // namespace korvel
