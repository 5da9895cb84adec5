#include "export/FileWriting.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <utility>

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

}  // namespace

StagedFile::StagedFile(std::string path, std::string bytes) : target_(std::move(path)), bytes_(std::move(bytes)) {}

StagedFile::StagedFile(std::string path, FileFiller fill) : target_(std::move(path)), fill_(std::move(fill)) {}

StagedFile::~StagedFile()
{
    if (!aside_.empty())
        ::unlink(aside_.c_str());
}

bool StagedFile::write()
{
    if (target_.empty())
        return false;
    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        inPlace_ = true;  // a device or a pipe takes the bytes when they are put in place
        return true;
    }
    if (exists && ::access(target_.c_str(), W_OK) != 0)
        return false;
    if (exists) {
        // Through a symbolic link the file it names is replaced, not the link.
        char resolved[PATH_MAX];
        if (::realpath(target_.c_str(), resolved) == nullptr)
            return false;
        target_ = resolved;
    }
    auto sibling = CreateSibling(target_);
    if (!sibling) {
        inPlace_ = true;
        return true;
    }
    auto& [name, fd] = *sibling;
    if (exists) {
        // Keep the replaced file's owner and mode; failing to is no reason to lose the export.
        (void)::fchown(fd, existing.st_uid, existing.st_gid);
        (void)::fchmod(fd, existing.st_mode & 07777);
    }
    if (!fillAside(fd)) {
        ::unlink(name.c_str());
        return false;
    }
    aside_ = name;
    return true;
}

bool StagedFile::fillAside(int fd)
{
    if (!fill_)
        return WriteAndClose(fd, bytes_, true);
    // The filler opens the file by a name: this one is the very file created above, whatever may
    // have been put in its place under its own name since.
    if (!fill_("/proc/self/fd/" + std::to_string(fd))) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

bool StagedFile::fillInPlace()
{
    return fill_ ? fill_(target_) : WriteInPlace(target_, bytes_);
}

bool StagedFile::commit()
{
    if (inPlace_)
        return fillInPlace();
    if (aside_.empty())
        return false;
    const std::string aside = std::exchange(aside_, {});
    if (::rename(aside.c_str(), target_.c_str()) == 0)
        return true;
    // A shared folder may forbid replacing another user's file that its mode still lets us
    // rewrite; the copy was written whole, so the space is there.
    ::unlink(aside.c_str());
    return fillInPlace();
}

bool WriteWholeFile(const std::string& path, std::string_view bytes)
{
    StagedFile file(path, std::string(bytes));
    return file.write() && file.commit();
}

bool WriteWholeFile(const std::string& path, FileFiller fill)
{
    StagedFile file(path, std::move(fill));
    return file.write() && file.commit();
}

}  // namespace korvel
