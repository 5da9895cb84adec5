#pragma once

// The command line of korvel-collect.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace korvel::console {

struct CollectCommand {
    std::string shop;
    std::optional<std::string> idsFile;  // "-" = standard output
    std::optional<std::string> allFile;
    std::optional<std::string> csvFile;
    std::optional<std::string> xlsxFile;  // never "-": a workbook is a file
    std::chrono::milliseconds delay{0};
    int retries = 2;
    std::optional<std::string> cookiesFile;    // a cookies.txt session for this run only
    std::optional<std::string> importCookies;  // a source to import into the kept session; no shop
    bool help = false;
    bool version = false;
    // The shop history (HistoryArguments.h): a report instead of a collection, and its store.
    enum class Report { None, Changes, Runs } report = Report::None;
    std::optional<std::string> storeFile;
    std::optional<std::string> jsonlFile;
    bool noStore = false;
};

// The command, or the reason it is not one.
struct ParsedArguments {
    std::optional<CollectCommand> command;
    std::string error;
};

ParsedArguments ParseArguments(const std::vector<std::string>& args);

extern const char Usage[];

}  // namespace korvel::console
