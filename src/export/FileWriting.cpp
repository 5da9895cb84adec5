#include "export/FileWriting.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>

namespace korvel {

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

namespace {

bool WriteAndClose(int fd, std::string_view bytes, bool sync)
{
    bool ok = WriteAll(fd, bytes) && (!sync || ::fsync(fd) == 0);
    ok = ::close(fd) == 0 && ok;
    return ok;
}

bool WriteInPlace(const std::string& path, std::string_view bytes)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return fd >= 0 && WriteAndClose(fd, bytes, false);
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A new hidden sibling of `target`, created with the usual mode so the umask applies.
std::optional<std::pair<std::string, int>> CreateSibling(const std::string& target)
{
    const auto slash = target.rfind('/');
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    const std::string stem = FolderOf(target) + "/." + base + ".korvel-" + std::to_string(::getpid());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = stem + "-" + std::to_string(attempt) + ".tmp";
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return std::make_pair(name, fd);
        if (errno != EEXIST)
            return std::nullopt;
    }
    return std::nullopt;
}

bool ReplaceThroughSibling(const std::string& target, const struct stat* existing, std::string_view bytes)
{
    auto sibling = CreateSibling(target);
    if (!sibling)
        return WriteInPlace(target, bytes);
    auto& [name, fd] = *sibling;
    if (existing) {
        // Keep the replaced file's owner and mode; failing to is no reason to lose the export.
        (void)::fchown(fd, existing->st_uid, existing->st_gid);
        (void)::fchmod(fd, existing->st_mode & 07777);
    }
    if (!WriteAndClose(fd, bytes, true)) {
        ::unlink(name.c_str());
        return false;
    }
    if (::rename(name.c_str(), target.c_str()) == 0)
        return true;
    // A shared folder may forbid replacing another user's file that its mode still lets us
    // rewrite; the copy was written whole, so the space is there.
    ::unlink(name.c_str());
    return WriteInPlace(target, bytes);
}

}  // namespace

bool WriteWholeFile(const std::string& path, std::string_view bytes)
{
    if (path.empty())
        return false;
    struct stat existing {};
    if (::stat(path.c_str(), &existing) != 0)
        return ReplaceThroughSibling(path, nullptr, bytes);
    if (!S_ISREG(existing.st_mode))
        return WriteInPlace(path, bytes);
    if (::access(path.c_str(), W_OK) != 0)
        return false;
    // Through a symbolic link the file it names is replaced, not the link.
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) == nullptr)
        return false;
    return ReplaceThroughSibling(resolved, &existing, bytes);
}

}  // namespace korvel
