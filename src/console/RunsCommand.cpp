#include <cstdio>
#include <ctime>

#include "HistoryCommands.h"
#include "HistoryStore.h"
#include "Terminal.h"

namespace korvel::console {
namespace {

std::string UtcText(std::chrono::system_clock::time_point at)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(at);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

const char* OutcomeWord(RunEnd end)
{
    switch (end) {
    case RunEnd::Complete: return "complete";
    case RunEnd::Incomplete: return "incomplete";
    case RunEnd::Failed: return "failed";
    case RunEnd::Interrupted: return "interrupted";
    }
    return "";
}

// "3,7" or "-".
std::string LostPagesText(const std::vector<LostPage>& pages)
{
    std::string text;
    for (const LostPage& page : pages)
        text += (text.empty() ? "" : ",") + std::to_string(page.page);
    return text.empty() ? "-" : text;
}

}  // namespace

int ListRuns(const CollectCommand& command)
{
    auto history = OpenHistory(command);
    auto runs = history.ok() ? history.value()->runs(command.shop) : history.error();
    if (!runs.ok()) {
        Terminal(stderr).line("korvel-collect: " + runs.error().cause);
        return 1;
    }
    if (runs.value().empty())
        std::fprintf(stderr, "korvel-collect: no recorded run of %s\n", command.shop.c_str());
    for (const RunSummary& run : runs.value()) {
        std::printf("%lld\t%s\t%s\t%s\t%d/%d\t%s\t%d\n", static_cast<long long>(run.number),
                    UtcText(run.started).c_str(), UtcText(run.ended).c_str(), OutcomeWord(run.end),
                    run.pagesCollected, run.pageCount, LostPagesText(run.lostPages).c_str(), run.productCount);
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace korvel::console
