#include "ExportTargets.h"

#include <fcntl.h>

#include <cstdio>

namespace korvel::console {

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
    return WhyNotWritable(path);
}

bool WriteToStandardOutput(const std::string& bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() && std::fflush(stdout) == 0;
}

}  // namespace korvel::console
