// korvel-collect [OPTIONS] SHOP: collects one shop exactly as the window's start button does, then
// writes the chosen exports. See Usage (korvel-collect --help) for the options and exit statuses.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "Arguments.h"
#include "BatchArguments.h"
#include "BatchCommand.h"
#include "ConsoleExports.h"
#include "ConsoleView.h"
#include "ExportTargets.h"
#include "HistoryCommands.h"
#include "Interrupt.h"
#include "SessionCommands.h"
#include "Terminal.h"
#include "collect/CollectionJob.h"

namespace {

using namespace korvel;
using namespace korvel::console;

constexpr int Collected = 0;
constexpr int RunFailed = 1;
constexpr int BadArguments = 2;
constexpr int ExportFailed = 3;
constexpr int PagesLost = 4;
constexpr int Interrupted = 130;

int Collect(const CollectCommand& command, InterruptWatch& interrupt)
{
    Terminal terminal(stderr);
    if (!CheckExportPaths(command, terminal))
        return ExportFailed;
    const RunSession session = OpenRunSession(command);
    if (!session.usable)
        return BadArguments;
    ConsoleView view(terminal);
    FetchPolicy policy;
    policy.retries = command.retries;
    policy.pageDelay = command.delay;
    policy.session = session.session.get();
    const FixedInputs inputs({command.shop, DefaultCollectionSettings()});
    // Lives until the exports are written: Ctrl+C cancels it meanwhile.
    CollectionJob job(inputs, view, policy);
    const auto watching = interrupt.watch(job.cancellation());
    while (!job.waitFor(std::chrono::seconds(1)))
        view.tick();
    const CollectionRun run = view.takeRun();
    RecordInHistory(command, run);
    ReportSessionSave(session);
    if (run.end == RunEnd::Interrupted || interrupt.interrupted())
        return Interrupted;
    if (run.end == RunEnd::Failed)
        return RunFailed;
    switch (WriteExports(command, run, terminal, interrupt)) {
        case ExportsResult::Interrupted:
            return Interrupted;
        case ExportsResult::Failed:
            return ExportFailed;
        case ExportsResult::Written:
            break;
    }
    if (run.end == RunEnd::Incomplete)
        return SignInExpired(session, run) ? RunFailed : PagesLost;
    return Collected;
}

}  // namespace

int main(int argc, char** argv)
{
    // A shop that drops the connection must end in a failed page, not in a killed process.
    std::signal(SIGPIPE, SIG_IGN);
    GuardStandardStreams();
    InterruptWatch interrupt;
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (AsksForBatch(args))
        return RunBatchCommand(args, interrupt);
    const ParsedArguments parsed = ParseArguments(args);
    if (!parsed.command) {
        std::fprintf(stderr, "korvel-collect: %s\n\n%s", parsed.error.c_str(), Usage);
        return BadArguments;
    }
    if (parsed.command->help) {
        std::fputs(Usage, stdout);
        return Collected;
    }
    if (parsed.command->version) {
        std::printf("korvel-collect %s\n", KORVEL_VERSION);
        return Collected;
    }
    if (parsed.command->importCookies)
        return ImportCookies(*parsed.command->importCookies);
    if (parsed.command->report != CollectCommand::Report::None)
        return parsed.command->report == CollectCommand::Report::Changes ? ReportChanges(*parsed.command)
                                                                          : ListRuns(*parsed.command);
    return Collect(*parsed.command, interrupt);
}
