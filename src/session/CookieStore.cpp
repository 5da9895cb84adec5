#include "session/CookieStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

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
    return {failure, errno, path};
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
        return {{}, Failed(SessionFileFailure::CannotRead, path)};
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        return {{}, Failed(SessionFileFailure::CannotRead, path)};
    return {KeptCookies(ParseCookiesTxt(text.str()), UnixNow()), {}};
}

StoredCookies LoadStore(const std::string& path)
{
    if (path.empty())
        return {{}, {SessionFileFailure::NoHome, 0, {}}};
    if (::access(path.c_str(), F_OK) != 0 && errno == ENOENT)
        return {};
    return ReadCookiesFile(path);
}

SessionFileResult SaveStore(const std::string& path, const std::vector<Cookie>& cookies)
{
    if (path.empty())
        return {SessionFileFailure::NoHome, 0, {}};
    const std::string folder = FolderOf(path);
    if (SessionFileResult made = MakeFolder(folder); !made.ok())
        return made;
    ::chmod(folder.c_str(), 0700);
    std::string aside = path + ".XXXXXX";
    const int fd = ::mkstemp(aside.data());  // created 0600
    if (fd < 0)
        return Failed(SessionFileFailure::CannotWrite, path);
    const bool written = WriteAll(fd, CookiesTxt(KeptCookies(cookies, UnixNow()))) && ::fsync(fd) == 0;
    const int writeError = errno;
    ::close(fd);
    if (!written || ::rename(aside.c_str(), path.c_str()) != 0) {
        const int error = written ? errno : writeError;
        ::unlink(aside.c_str());
        return {SessionFileFailure::CannotWrite, error, path};
    }
    return {};
}

SessionFileResult ClearStore(const std::string& path)
{
    if (path.empty())
        return {SessionFileFailure::NoHome, 0, {}};
    if (::unlink(path.c_str()) != 0 && errno != ENOENT)
        return Failed(SessionFileFailure::CannotWrite, path);
    return {};
}

}  // namespace korvel
