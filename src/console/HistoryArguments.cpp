#include "HistoryArguments.h"

namespace korvel::console {

using Report = CollectCommand::Report;

bool IsHistoryOption(const std::string& option)
{
    return option == "--changes" || option == "--runs" || option == "--store" || option == "--jsonl";
}

std::string ApplyHistoryOption(CollectCommand& command, const std::string& option, const std::string& value)
{
    if (value.empty())
        return option + " needs a " + (option == "--changes" || option == "--runs" ? "shop" : "file name");
    if (option == "--store" || option == "--jsonl") {
        (option == "--store" ? command.storeFile : command.jsonlFile) = value;
        return "";
    }
    if (command.report != Report::None)
        return "--changes and --runs cannot both be given";
    command.report = option == "--changes" ? Report::Changes : Report::Runs;
    command.shop = value;
    return "";
}

std::string CheckHistoryOptions(const CollectCommand& command, bool haveShop)
{
    if (command.storeFile && command.noStore)
        return "--store and --no-store cannot both be given";
    if (command.report == Report::None)
        return command.jsonlFile ? "--jsonl goes with --changes" : "";
    const std::string report = command.report == Report::Changes ? "--changes" : "--runs";
    if (haveShop)
        return report + " takes its shop as its value";
    if (command.noStore)
        return report + " reads the history: --no-store cannot go with it";
    if (command.idsFile || command.allFile)
        return report + " collects nothing to export with --ids or --all";
    if (command.report == Report::Runs && (command.csvFile || command.xlsxFile))
        return "--runs writes to standard output only";
    return "";
}

}  // namespace korvel::console
