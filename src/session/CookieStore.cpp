#include "session/CookieStore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string_view>

#include "base/FileDescriptor.h"
#include "session/CookiesTxt.h"

namespace korvel {
namespace {

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

SessionFileResult Failed(SessionFileFailure failure, const std::string& path)
{
    return {failure, errno, path, {}};
}

// The folder and any missing parents; the session's own folder is for its owner alone.
SessionFileResult MakeFolder(const std::string& folder)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        const std::string parent = FolderOf(folder);
        if (parent != folder && ::stat(parent.c_str(), &info) != 0) {
            if (SessionFileResult made = MakeFolder(parent); !made.ok())
                return made;
        }
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return Failed(SessionFileFailure::CannotCreateFolder, folder);
    }
    return {};
}

bool WriteAll(int fd, const std::string& text)
{
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<size_t>(n);
    }
    return true;
}

SessionFileResult Refused(const std::string& path, std::string detail)
{
    return {SessionFileFailure::CannotRead, errno, path, std::move(detail)};
}

std::string Octal(mode_t mode)
{
    char text[8];
    std::snprintf(text, sizeof text, "%04o", static_cast<unsigned>(mode & 07777));
    return text;
}

std::optional<std::string> ReadDescriptor(int fd)
{
    std::string text;
    char buffer[1 << 14];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return text;
        text.append(buffer, static_cast<size_t>(got));
    }
}

constexpr std::string_view SessionLine = "# korvel-session: ";
constexpr char LockSuffix[] = ".lock";

std::string SessionOf(std::string_view text)
{
    const size_t at = text.find(SessionLine);
    if (at == std::string_view::npos || (at != 0 && text[at - 1] != '\n'))
        return {};
    const std::string_view rest = text.substr(at + SessionLine.size());
    return std::string(rest.substr(0, rest.find_first_of("\r\n")));
}

std::string NewSession()
{
    std::random_device random;
    char text[17];
    std::snprintf(text, sizeof text, "%08x%08x", random(), random());
    return text;
}

// The store's lock file, held exclusively for one reading and writing of the file. Another holder
// keeps it for a moment only; a wait past 10 s is given up as a failure to write.
class StoreLock {
public:
    explicit StoreLock(const std::string& path)
        : fd_(::open((path + LockSuffix).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600))
    {
        for (int tries = 0; fd_ >= 0 && tries < 1000; ++tries) {
            if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
                held_ = true;
                return;
            }
            if (errno != EWOULDBLOCK && errno != EINTR)
                return;
            ::usleep(10000);
        }
    }
    ~StoreLock()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;
    bool held() const { return held_; }

private:
    int fd_;
    bool held_ = false;
};

// Under the lock: the file's cookies and session read afresh, changed, and written back whole when
// `change` says so. A store that holds no session yet starts a new one.
template <typename Change>
SessionFileResult Update(const std::string& path, Change change)
{
    if (path.empty())
        return {SessionFileFailure::NoHome, 0, {}, {}};
    const std::string folder = FolderOf(path);
    if (SessionFileResult made = MakeFolder(folder); !made.ok())
        return made;
    ::chmod(folder.c_str(), 0700);
    const StoreLock lock(path);
    if (!lock.held())
        return Failed(SessionFileFailure::CannotWrite, path + LockSuffix);
    StoredCookies held = LoadStore(path);
    if (!held.result.ok())
        return held.result;
    const bool exists = ::access(path.c_str(), F_OK) == 0;
    if (!change(held.cookies, held.session, exists))
        return {};
    if (held.session.empty() && !exists)
        held.session = NewSession();
    std::string aside = path + ".XXXXXX";
    const int fd = ::mkstemp(aside.data());  // created 0600
    if (fd < 0)
        return Failed(SessionFileFailure::CannotWrite, path);
    std::string text = CookiesTxt(KeptCookies(held.cookies, UnixNow()));
    if (!held.session.empty())
        text += std::string(SessionLine) + held.session + "\n";
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const int writeError = errno;
    ::close(fd);
    if (!written || ::rename(aside.c_str(), path.c_str()) != 0) {
        const int error = written ? errno : writeError;
        ::unlink(aside.c_str());
        return {SessionFileFailure::CannotWrite, error, path, {}};
    }
    return {};
}

}  // namespace

std::string DefaultSessionPath()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    // The XDG base directory rules ignore a relative path.
    if (data != nullptr && data[0] == '/')
        return std::string(data) + "/korvel/cookies.txt";
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0')
        return {};
    return std::string(home) + "/.local/share/korvel/cookies.txt";
}

StoredCookies ReadCookiesFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {{}, Failed(SessionFileFailure::CannotRead, path), {}, {}};
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        return {{}, Failed(SessionFileFailure::CannotRead, path), {}, {}};
    return {KeptCookies(ParseCookiesTxt(text.str()), UnixNow()), {}, {}, {}};
}

StoredCookies LoadStore(const std::string& path)
{
    if (path.empty())
        return {{}, {SessionFileFailure::NoHome, 0, {}, {}}, {}, {}};
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT)
        return {};
    if (fd < 0)
        return {{}, Refused(path, errno == ELOOP ? "it is a symbolic link" : ""), {}, {}};
    const FileDescriptor file(fd);
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return {{}, Failed(SessionFileFailure::CannotRead, path), {}, {}};
    if (!S_ISREG(info.st_mode))
        return {{}, Refused(path, "it is not a regular file"), {}, {}};
    if (info.st_uid != ::geteuid())
        return {{}, Refused(path, "it belongs to another user"), {}, {}};
    StoredCookies stored;
    if ((info.st_mode & 077) != 0 && ::fchmod(fd, 0600) == 0)
        stored.tightened = path + " could be read by others (" + Octal(info.st_mode) + "): now 0600";
    const std::string folder = FolderOf(path);
    struct stat folderInfo {};
    if (::lstat(folder.c_str(), &folderInfo) == 0 && S_ISDIR(folderInfo.st_mode) && folderInfo.st_uid == ::geteuid() &&
        (folderInfo.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) == 0)
        stored.tightened += (stored.tightened.empty() ? "" : "; ") + folder + " could be entered by others (" +
                            Octal(folderInfo.st_mode) + "): now 0700";
    const auto text = ReadDescriptor(fd);
    if (!text)
        return {{}, Failed(SessionFileFailure::CannotRead, path), {}, {}};
    stored.cookies = KeptCookies(ParseCookiesTxt(*text), UnixNow());
    stored.session = SessionOf(*text);
    return stored;
}

CookieChanges ChangesBetween(const std::vector<Cookie>& before, const std::vector<Cookie>& after)
{
    CookieChanges changes;
    for (const Cookie& cookie : after) {
        if (std::find(before.begin(), before.end(), cookie) == before.end())
            changes.set.push_back(cookie);
    }
    for (const Cookie& cookie : before) {
        if (std::none_of(after.begin(), after.end(), [&](const Cookie& c) { return SameCookie(c, cookie); }))
            changes.removed.push_back(cookie);
    }
    return changes;
}

SessionFileResult SaveStore(const std::string& path, const std::vector<Cookie>& cookies)
{
    return Update(path, [&](std::vector<Cookie>& held, std::string&, bool) {
        held = cookies;
        return true;
    });
}

SessionFileResult AddToStore(const std::string& path, const std::vector<Cookie>& cookies)
{
    return Update(path, [&](std::vector<Cookie>& held, std::string&, bool) {
        AddCookies(held, cookies);
        return true;
    });
}

SessionFileResult MergeIntoStore(const std::string& path, const CookieChanges& changes, std::string& session,
                                 bool& stale)
{
    stale = false;
    const SessionFileResult merged = Update(path, [&](std::vector<Cookie>& held, std::string& heldSession, bool exists) {
        // Signed out (no file), or signed in anew since: the run's session is no longer the user's.
        // A run whose session was never kept starts the store; a file from before sessions were
        // named gets a name now, which the run takes on.
        if (exists ? heldSession != session && !heldSession.empty() : !session.empty()) {
            stale = true;
            return false;
        }
        if (heldSession.empty())
            heldSession = NewSession();
        session = heldSession;
        std::erase_if(held, [&](const Cookie& c) {
            return std::any_of(changes.removed.begin(), changes.removed.end(),
                               [&](const Cookie& gone) { return SameCookie(c, gone); });
        });
        AddCookies(held, changes.set);
        return true;
    });
    return merged;
}

SessionFileResult ClearStore(const std::string& path)
{
    if (path.empty())
        return {SessionFileFailure::NoHome, 0, {}, {}};
    if (::access(FolderOf(path).c_str(), F_OK) != 0)
        return {};
    const StoreLock lock(path);
    if (!lock.held())
        return Failed(SessionFileFailure::CannotWrite, path + LockSuffix);
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        return Failed(SessionFileFailure::CannotWrite, path);
    return {};
}

}  // namespace korvel
