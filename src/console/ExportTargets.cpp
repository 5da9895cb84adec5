#include "ExportTargets.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>


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

bool CanWrite(const std::string& path)
{
    if (path == "-")
        return standardOutputOpen;
    std::error_code error;
    const fs::path target(path);
    if (fs::exists(target, error))
        return !fs::is_directory(target, error) && ::access(path.c_str(), W_OK) == 0;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    return fs::is_directory(folder, error) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string StandardOutputStandIn()
{
    const char* base = std::getenv("TMPDIR");
    std::string dir = std::string(base && *base ? base : "/tmp") + "/korvel-collect-XXXXXX";
    return ::mkdtemp(dir.data()) ? dir + "/export" : std::string();
}

bool CopyToStandardOutput(const std::string& standIn)
{
    std::string bytes;
    {
        std::ifstream in(standIn, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::error_code error;
    fs::remove_all(fs::path(standIn).parent_path(), error);
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
}

}  // namespace korvel::console
