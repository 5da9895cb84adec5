#include "batch/JsonLinesFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <utility>

#include "export/FileWriting.h"

namespace korvel::batch {
namespace {

constexpr std::string_view ShopStart = "{\"type\":\"shop\",\"shop\":\"";
constexpr std::string_view RunField = ",\"run\":";

// A shop line starts with its host (a DNS name: nothing in it is escaped) and ends with its run:
// `{"type":"shop","shop":"HOST",…,"run":N}`.
std::optional<ShopRun> RunOf(std::string_view line)
{
    const size_t hostEnd = line.find('"', ShopStart.size());
    if (hostEnd == std::string_view::npos)
        return std::nullopt;
    const size_t at = line.rfind(RunField);
    if (at == std::string_view::npos || !line.ends_with('}'))
        return std::nullopt;
    const char* first = line.data() + at + RunField.size();
    const char* last = line.data() + line.size() - 1;
    std::int64_t run = 0;
    const auto [end, error] = std::from_chars(first, last, run);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return ShopRun(line.substr(ShopStart.size(), hostEnd - ShopStart.size()), run);
}

constexpr std::string_view LineStarts[] = {"{\"type\":\"product\"", "{\"type\":\"shop\""};

JsonLinesOpening Refused(std::string cause)
{
    return {std::nullopt, std::move(cause)};
}

// The file's first bytes, enough to tell a line of Korvel's; nothing when they cannot be read.
std::optional<std::string> FirstBytes(int fd)
{
    std::string start(64, '\0');
    ssize_t got;
    while ((got = ::pread(fd, start.data(), start.size(), 0)) < 0 && errno == EINTR) {
    }
    if (got < 0)
        return std::nullopt;
    start.resize(static_cast<size_t>(got));
    return start;
}

}  // namespace

bool StartedByKorvel(std::string_view start)
{
    const std::string_view line = start.substr(0, start.find('\n'));
    const bool whole = line.size() < start.size();
    for (const std::string_view lineStart : LineStarts) {
        if (line.starts_with(lineStart) || (!whole && lineStart.starts_with(line)))
            return true;
    }
    return false;
}

void ScanLines(std::string_view text, std::uint64_t offset, LastShop& found)
{
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1) {
        const std::string_view line = text.substr(start, end - start);
        if (!line.starts_with(ShopStart))
            continue;
        if (const auto run = RunOf(line)) {
            found.end = offset + end + 1;
            found.runs.insert(*run);
        }
    }
}

JsonLinesOpening JsonLinesFile::Open(const std::string& path, bool fresh)
{
    if (path == "-")
        return {JsonLinesFile(STDOUT_FILENO, false), {}};
    // Not truncated on opening: what the file holds decides first whether it may be cut at all.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return Refused(errno == ELOOP ? "a symbolic link stands in its place" : std::strerror(errno));
    JsonLinesFile file(fd, true);
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return Refused(std::strerror(errno));
    if (!S_ISREG(info.st_mode))
        return Refused("not a regular file");
    if (info.st_uid != ::geteuid())
        return Refused("the file belongs to another user");
    const auto start = FirstBytes(fd);
    if (!start)
        return Refused(std::strerror(errno));
    if (!StartedByKorvel(*start))
        return Refused("the file holds something else than Korvel's JSON Lines; give a new or empty file");
    if (fresh && ::ftruncate(fd, 0) != 0)
        return Refused(std::strerror(errno));
    if (!file.cutToLastShop())
        return Refused(std::strerror(errno));
    return {std::move(file), {}};
}

JsonLinesFile::JsonLinesFile(JsonLinesFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), owned_(other.owned_), end_(other.end_), runs_(std::move(other.runs_))
{
}

JsonLinesFile::~JsonLinesFile()
{
    if (owned_ && fd_ >= 0)
        ::close(fd_);
}

// Reads the file in pieces, carrying an unfinished line over to the next piece.
bool JsonLinesFile::cutToLastShop()
{
    LastShop found;
    std::string pending;
    std::uint64_t pendingAt = 0;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        pending.append(buffer, static_cast<size_t>(got));
        const size_t lastBreak = pending.rfind('\n');
        if (lastBreak == std::string::npos)
            continue;
        ScanLines(std::string_view(pending).substr(0, lastBreak + 1), pendingAt, found);
        pending.erase(0, lastBreak + 1);
        pendingAt += lastBreak + 1;
    }
    runs_ = std::move(found.runs);
    end_ = found.end;
    return cutBack();
}

bool JsonLinesFile::cutBack()
{
    return ::ftruncate(fd_, static_cast<off_t>(end_)) == 0 && ::lseek(fd_, static_cast<off_t>(end_), SEEK_SET) >= 0;
}

bool JsonLinesFile::append(std::string_view lines, const ShopRun& run)
{
    if (!owned_)
        return WriteAll(fd_, lines);
    // A file's lines must be on disk before the shop counts as delivered; half a shop written to
    // a full disk is taken back at once.
    if (!WriteAll(fd_, lines) || ::fdatasync(fd_) != 0) {
        (void)cutBack();
        return false;
    }
    end_ += lines.size();
    runs_.insert(run);
    return true;
}

}  // namespace korvel::batch
