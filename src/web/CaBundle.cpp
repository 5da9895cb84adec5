#include "web/CaBundle.h"

#include <sys/mman.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <mutex>
#include <optional>
#include <sstream>

namespace korvel {
namespace {

const char* const SystemBundle = "/etc/ssl/certs/ca-certificates.crt";

std::optional<std::string> ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// An anonymous in-memory file, so no bundle is left behind in a temporary folder. Empty on failure.
std::string WriteMemoryFile(const std::string& content)
{
    const int fd = memfd_create("korvel-ca-bundle", MFD_CLOEXEC);
    if (fd < 0)
        return {};
    size_t written = 0;
    while (written < content.size()) {
        const ssize_t n = write(fd, content.data() + written, content.size() - written);
        if (n <= 0) {
            close(fd);
            return {};
        }
        written += static_cast<size_t>(n);
    }
    return "/proc/self/fd/" + std::to_string(fd);
}

std::string MakeBundle(const std::string& extraCaFile)
{
    const auto extra = ReadWhole(extraCaFile);
    if (!extra)
        return SystemBundle;
    const std::string system = ReadWhole(SystemBundle).value_or("");
    const std::string path = WriteMemoryFile(system + "\n" + *extra + "\n");
    return path.empty() ? SystemBundle : path;
}

}  // namespace

std::string CaBundlePath(const std::string& extraCaFile)
{
    if (extraCaFile.empty())
        return SystemBundle;
    static std::mutex mutex;
    static std::map<std::string, std::string> made;
    std::lock_guard lock(mutex);
    if (const auto found = made.find(extraCaFile); found != made.end())
        return found->second;
    const std::string path = MakeBundle(extraCaFile);
    // A file that cannot be read yet is tried again at the next request.
    if (path != SystemBundle)
        made.emplace(extraCaFile, path);
    return path;
}

}  // namespace korvel
