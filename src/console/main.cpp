// korvel-collect [OPTIONS] SHOP: collects one shop exactly as the window's start button does, then
// writes the chosen exports. See Usage (korvel-collect --help) for the options and exit statuses.

#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "Arguments.h"
#include "ConsoleScreen.h"
#include "ExportTargets.h"
#include "Interrupt.h"
#include "SessionCommands.h"
#include "Terminal.h"
#include "collect/RunCollection.h"
#include "export/CsvExport.h"
#include "export/Exports.h"
#include "export/FileWriting.h"

namespace {

using namespace korvel;
using namespace korvel::console;

constexpr int Collected = 0;
constexpr int RunFailed = 1;
constexpr int BadArguments = 2;
constexpr int ExportFailed = 3;
constexpr int PagesLost = 4;
constexpr int Interrupted = 130;

// The dialog a script answers in advance: always confirmed, always the given path, used as given.
class FixedPathDialog : public SaveDialog {
public:
    explicit FixedPathDialog(std::string path) : path_(std::move(path)) {}
    void setFilter(const std::string&) override {}
    void setDefaultExtension(const std::string&) override {}
    bool show() override { return true; }
    std::string fileName() const override { return path_; }

private:
    std::string path_;
};

using Exporter = bool (*)(const ListView&, SaveDialog&, MessageBox&);

// What an export says, held until its bytes have reached their place: an export to standard
// output is written to a private file first and is done only once it has been copied.
class HeldMessages : public MessageBox {
public:
    void showMessage(const std::string& message, const std::string& title) override
    {
        held_.emplace_back(message, title);
    }
    void replay(MessageBox& box) const
    {
        for (const auto& [message, title] : held_)
            box.showMessage(message, title);
    }

private:
    std::vector<std::pair<std::string, std::string>> held_;
};

void CannotWrite(const std::string& path)
{
    std::fprintf(stderr, "korvel-collect: cannot write %s\n", path == "-" ? "to standard output" : path.c_str());
}

bool Export(Exporter exporter, const std::string& path, ConsoleScreen& screen)
{
    HeldMessages held;
    const bool written = WithTarget(path, [&](const std::string& target) {
        FixedPathDialog dialog(target);
        return exporter(screen, dialog, held);
    });
    if (written || path != "-")
        held.replay(screen);
    else
        CannotWrite(path);
    return written;
}

// The first export path that cannot be written, if any.
const std::string* UnwritableExport(const CollectCommand& command)
{
    for (const auto* file : {&command.idsFile, &command.allFile, &command.csvFile}) {
        if (*file && !CanWrite(**file))
            return &**file;
    }
    return nullptr;
}

// The CSV has no place in the window's message box texts: only a failure is reported.
bool ExportCsv(const std::string& path, ConsoleScreen& screen)
{
    const bool written = WithTarget(path, [&](const std::string& target) {
        return WriteWholeFile(target, ProductsCsv(screen));
    });
    if (!written)
        CannotWrite(path);
    return written;
}

int WriteExports(const CollectCommand& command, ConsoleScreen& screen, const InterruptWatch& interrupt)
{
    const std::pair<const std::optional<std::string>*, Exporter> exports[] = {
        {&command.idsFile, ExportProductIds}, {&command.allFile, ExportAllInformation}};
    for (const auto& [file, exporter] : exports) {
        if (interrupt.interrupted())
            return Interrupted;
        if (*file && !Export(exporter, **file, screen))
            return ExportFailed;
    }
    if (interrupt.interrupted())
        return Interrupted;
    return command.csvFile && !ExportCsv(*command.csvFile, screen) ? ExportFailed : Collected;
}

int Collect(const CollectCommand& command, InterruptWatch& interrupt)
{
    if (const std::string* path = UnwritableExport(command)) {
        CannotWrite(*path);
        return ExportFailed;
    }
    Terminal terminal(stderr);
    ConsoleScreen screen(command.shop, DefaultCollectionSettings(), terminal);
    interrupt.watch(screen.cancellation());
    const RunSession session = OpenRunSession(command);
    if (!session.usable)
        return BadArguments;
    FetchPolicy policy;
    policy.retries = command.retries;
    policy.pageDelay = command.delay;
    policy.session = session.session.get();
    const RunOutcome outcome = RunCollection(screen, policy);
    ReportSessionSave(session);
    if (outcome == RunOutcome::Abandoned || interrupt.interrupted())
        return Interrupted;
    if (outcome == RunOutcome::Failed)
        return RunFailed;
    const int written = WriteExports(command, screen, interrupt);
    return written == Collected && outcome == RunOutcome::CollectedWithLosses ? PagesLost : written;
}

}  // namespace

int main(int argc, char** argv)
{
    // A shop that drops the connection must end in a failed page, not in a killed process.
    std::signal(SIGPIPE, SIG_IGN);
    GuardStandardStreams();
    InterruptWatch interrupt;
    const ParsedArguments parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
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
    return Collect(*parsed.command, interrupt);
}
