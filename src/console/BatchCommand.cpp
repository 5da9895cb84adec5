#include "BatchCommand.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <sstream>

#include "BatchArguments.h"
#include "BatchView.h"
#include "SessionCommands.h"
#include "batch/BatchCollector.h"
#include "batch/BatchId.h"
#include "batch/ShopList.h"
#include "batch/MemoryLedger.h"
#include "store/Store.h"
#include "store/StorePath.h"
#include "text/Encoding.h"

namespace korvel::console {
namespace {

using namespace korvel::batch;

int Say(int status, const std::string& text)
{
    std::fprintf(stderr, "korvel-collect: %s\n", text.c_str());
    return status;
}

// At most one byte past the longest list, which is enough for the list to be refused.
std::optional<std::string> ReadList(const std::string& path)
{
    std::ifstream file;
    std::istream* in = &std::cin;
    if (path != "-") {
        file.open(path, std::ios::binary);
        if (!file)
            return std::nullopt;
        in = &file;
    }
    std::string bytes(MaxListBytes + 1, '\0');
    in->read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in->bad())
        return std::nullopt;
    bytes.resize(static_cast<size_t>(in->gcount()));
    return bytes;
}

// This shard's hosts, in list order.
std::vector<std::string> ShardHosts(const std::vector<std::string>& hosts, const Shard& shard)
{
    std::vector<std::string> mine;
    for (const std::string& host : hosts) {
        if (InShard(host, shard))
            mine.push_back(host);
    }
    return mine;
}

// The folder for the CSV files, made when missing; false when it cannot be written.
bool UsableFolder(const std::string& folder)
{
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

StoreResult<std::unique_ptr<Store>> OpenBatchStore(const std::optional<std::string>& given, std::string& error)
{
    const std::string store = given.value_or(DefaultStorePath());
    if (store.empty()) {
        error = "no place for the store: give --store FILE (neither XDG_DATA_HOME nor HOME is set)";
        return StoreError{StoreFailure::CannotOpen, ""};
    }
    auto opened = OpenStore(store, KORVEL_VERSION);
    if (!opened.ok()) {
        std::string cause = GbkToUtf8(opened.error().cause);
        if (!cause.empty())
            cause.pop_back();  // the converter's closing zero byte
        // A database's own cause names it already, without its password.
        error = IsDatabaseAddress(store) ? cause : "the store " + ShownAddress(store) + " cannot be used: " + cause;
    }
    return opened;
}

int Run(const BatchCommand& command, const std::vector<std::string>& allHosts, InterruptWatch& interrupt)
{
    BatchPlan plan;
    plan.id = command.batchId.value_or(ListBatchId(allHosts));
    plan.hosts = ShardHosts(allHosts, command.shard);
    plan.start = command.start;
    plan.csvFolder = command.outFolder;
    // The store first: a batch that cannot record anything leaves every output as it was.
    std::string error;
    auto store = command.noStore ? StoreResult<std::unique_ptr<Store>>(nullptr) : OpenBatchStore(command.store, error);
    if (!store.ok())
        return Say(batch_exit::StoreUnreachable, error);
    MemoryLedger memory;
    BatchLedger& ledger = command.noStore ? static_cast<BatchLedger&>(memory) : *store.value();
    if (plan.csvFolder && !UsableFolder(*plan.csvFolder))
        return Say(batch_exit::CannotWrite, "cannot write " + *plan.csvFolder);
    JsonLinesOpening jsonl = command.jsonLines
                                 ? JsonLinesFile::Open(*command.jsonLines, command.start == BatchStart::Fresh)
                                 : JsonLinesOpening{};
    if (command.jsonLines && !jsonl.file)
        return Say(batch_exit::CannotWrite, "cannot write " + *command.jsonLines + ": " + jsonl.cause);
    if (jsonl.file)
        plan.jsonLines = &*jsonl.file;
    Cancellation stop;
    const auto watching = interrupt.watch(stop);
    BatchView view(stderr);
    // Every shop carries the kept marketplace session, as a single run does.
    const RunSession session = OpenRunSession(CollectCommand{});
    FetchPolicy policy;
    policy.retries = command.retries;
    policy.session = session.session.get();
    Pace pace(command.delay, command.shard.count);
    BatchCollector collector(policy, pace, stop, [&view](int page, int pages) { view.pageStarted(page, pages); });
    const BatchResult result = RunBatch(plan, ledger, collector, view, stop);
    view.finish();
    ReportSessionSave(session);
    if (result.exitStatus == batch_exit::Interrupted)
        return Say(result.exitStatus, command.noStore ? "interrupted; with --no-store nothing was kept"
                                                      : "interrupted; the progress is kept: run the same command again to go on");
    if (!result.error.empty())
        return Say(result.exitStatus, result.error);
    return result.exitStatus;
}

}  // namespace

int RunBatchCommand(const std::vector<std::string>& args, InterruptWatch& interrupt)
{
    const BatchArguments parsed = ParseBatchArguments(args, ProcessEnvironment());
    if (!parsed.command) {
        std::fprintf(stderr, "korvel-collect: %s\n\n%s", parsed.error.c_str(), BatchUsage);
        return batch_exit::BadArguments;
    }
    const BatchCommand& command = *parsed.command;
    if (command.help) {
        std::fputs(BatchUsage, stdout);
        return batch_exit::AllComplete;
    }
    const auto text = ReadList(command.list);
    if (!text)
        return Say(batch_exit::BadArguments, "cannot read the shop list " + command.list);
    const ShopList list = ParseShopList(*text);
    if (!list.error.empty())
        return Say(batch_exit::BadArguments, command.list + ", " + list.error);
    return Run(command, list.hosts, interrupt);
}

const char BatchUsage[] = R"(usage: korvel-collect --batch FILE|- [OPTIONS]

Collects every shop of a list once, each as the single-shop command collects it, and records each
in the store with the batch's progress. Run the same command again after any stop (Ctrl+C, a
kill, a reboot) and it goes on: finished shops are not requested again, the shop that was cut off
starts again from its first page.

The list: one shop host per line (UTF-8), e.g. shop123.taobao.com; blank lines and lines starting
with "#" are ignored, a host given twice (in any case) is collected once. A scheme, a path, a port
or any other line is an error naming its line.

Options:
  --batch-id NAME   the batch's name, e.g. the day of a daily run (default: named by the list's
                    hosts, so the same list continues the same batch)
  --shard I/N|auto  only the shops whose FNV-1a 64 hash of the lower-case host modulo N is I;
                    auto reads a Slurm job array's or a Kubernetes Indexed Job's variables
  --out DIR         DIR/HOST.csv for each shop (the single command's CSV), put in place whole
  --jsonl FILE|-    JSON Lines: each shop's products, then a line summing the shop up. Into a FILE
                    every shop appears exactly once, across any number of stops; into standard
                    output ("-") at least once (a shop cut off by a kill may appear again)
  --store FILE|URI  the SQLite store, or a postgresql:// URI shared by several machines (default
                    the history store)
  --no-store        record nothing: the progress lives in this run only, a stop starts over
  --delay MS        the pause from the end of one request to the start of the next, for all
                    shops (default 1000); a shard of N keeps N x MS between its requests
  --retries N       further tries of a page that failed in passing (default 2)
  --retry-failed    collect again the shops that ended incomplete, failed or blocked
  --fresh           start the list over (and the --jsonl file)

Exit status:
  0    every shop complete
  1    the store could not be reached or failed (try again; the progress is kept)
  2    bad arguments, or a bad list (nothing was requested)
  3    a path cannot be written
  4    some shops incomplete, failed or blocked, each named on stderr with its cause (final)
  5    stopped: three shops in a row blocked by the marketplace; resume later
  130  interrupted (Ctrl+C); the progress is kept, resume later
)";

}  // namespace korvel::console
