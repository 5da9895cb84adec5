#include "batch/JsonLinesFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
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

}  // namespace

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

std::optional<JsonLinesFile> JsonLinesFile::Open(const std::string& path, bool fresh)
{
    if (path == "-")
        return JsonLinesFile(STDOUT_FILENO, false);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | (fresh ? O_TRUNC : 0), 0666);
    if (fd < 0)
        return std::nullopt;
    JsonLinesFile file(fd, true);
    if (!file.cutToLastShop())
        return std::nullopt;
    return file;
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
