#include "batch/ShopFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <set>
#include <string_view>
#include <utility>

#include "base/FileDescriptor.h"
#include "export/CsvExport.h"
#include "export/FileWriting.h"

namespace korvel::batch {
namespace {

constexpr std::string_view Marker = ".csv.korvel-";
constexpr std::string_view Suffix = ".tmp";

// The writer's process id in ".HOST.csv.korvel-PID-N.tmp", and HOST.
std::optional<std::pair<std::string, pid_t>> LeftoverOf(std::string_view name)
{
    if (!name.starts_with('.') || !name.ends_with(Suffix))
        return std::nullopt;
    const size_t marker = name.find(Marker);
    if (marker == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = name.substr(marker + Marker.size());
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (error != std::errc() || end == rest.data() || *end != '-')
        return std::nullopt;
    return std::make_pair(std::string(name.substr(1, marker - 1)), pid);
}

// In a container a restarted task often has the killed one's process id: its own copies are
// leftovers too.
bool WriterGone(pid_t pid)
{
    return pid == ::getpid() || (::kill(pid, 0) != 0 && errno == ESRCH);
}

PlacedFile Refused(std::string cause)
{
    return {false, std::move(cause)};
}

PlacedFile RefusedByErrno(int error)
{
    return Refused(error == ENOSPC ? "the disk is full" : std::strerror(error));
}

// Why the entry `name` in the folder may not be replaced, if it exists; its mode in `mode`.
std::optional<std::string> ForeignEntry(int folder, const std::string& name, mode_t& mode)
{
    struct stat entry {};
    if (::fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? std::nullopt : std::optional<std::string>(std::strerror(errno));
    if (S_ISLNK(entry.st_mode))
        return "a symbolic link stands in its place";
    if (!S_ISREG(entry.st_mode))
        return "not a regular file";
    if (entry.st_uid != ::geteuid())
        return "the file belongs to another user";
    mode = entry.st_mode & 07777;
    return std::nullopt;
}

}  // namespace

std::string ShopCsvPath(const std::string& folder, const std::string& host)
{
    return folder + "/" + host + ".csv";
}

PlacedFile PlaceShopCsv(const std::string& folder, const CollectionRun& run)
{
    const FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        return RefusedByErrno(errno);
    const std::string name = run.shopHost + ".csv";
    mode_t mode = 0;
    if (auto foreign = ForeignEntry(dir.get(), name, mode))
        return Refused(*foreign);
    // The copy is new (O_EXCL), so no link planted under its name can be written through; the
    // rename then replaces the entry itself, whatever stands there by now, never a file it names.
    std::string aside;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        aside = "." + name + ".korvel-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
        fd = ::openat(dir.get(), aside.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return RefusedByErrno(errno);
    }
    if (fd < 0)
        return RefusedByErrno(EEXIST);
    FileDescriptor copy(fd);
    if (mode != 0)
        (void)::fchmod(copy.get(), mode);
    const bool written = WriteAll(copy.get(), ProductsCsv(run.products)) && ::fsync(copy.get()) == 0;
    const int error = errno;
    if (::close(copy.release()) != 0 || !written) {
        ::unlinkat(dir.get(), aside.c_str(), 0);
        return RefusedByErrno(written ? errno : error);
    }
    if (::renameat(dir.get(), aside.c_str(), dir.get(), name.c_str()) != 0) {
        const int renameError = errno;
        ::unlinkat(dir.get(), aside.c_str(), 0);
        return RefusedByErrno(renameError);
    }
    return {};
}

int RemoveLeftovers(const std::string& folder, const std::vector<std::string>& hosts)
{
    const std::set<std::string, std::less<>> listed(hosts.begin(), hosts.end());
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const auto leftover = LeftoverOf(entry->d_name);
        if (leftover && listed.contains(leftover->first) && WriterGone(leftover->second) &&
            ::unlink((folder + "/" + entry->d_name).c_str()) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

}  // namespace korvel::batch
