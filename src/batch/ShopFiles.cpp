#include "batch/ShopFiles.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <set>
#include <string_view>

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

}  // namespace

std::string ShopCsvPath(const std::string& folder, const std::string& host)
{
    return folder + "/" + host + ".csv";
}

bool PlaceShopCsv(const std::string& folder, const CollectionRun& run)
{
    return WriteWholeFile(ShopCsvPath(folder, run.shopHost), ProductsCsv(run.products));
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
