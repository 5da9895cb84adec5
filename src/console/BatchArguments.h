#pragma once

// korvel-collect --batch's command line, apart from the single-shop command's:
//   --batch FILE|- [--batch-id NAME] [--shard I/N|auto] [--out DIR] [--jsonl FILE|-]
//   [--store FILE|URI] [--delay MS] [--retries N] [--retry-failed | --fresh]

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "store/BatchShops.h"
#include "batch/Shard.h"

namespace korvel::console {

struct BatchCommand {
    std::string list;  // "-" = standard input
    std::optional<std::string> batchId;
    batch::Shard shard;
    std::optional<std::string> outFolder;
    std::optional<std::string> jsonLines;  // "-" = standard output
    std::optional<std::string> store;      // a file, or a postgresql:// URI
    bool noStore = false;                  // nothing recorded, nothing kept to resume
    std::chrono::milliseconds delay{1000};
    int retries = 2;
    batch::BatchStart start = batch::BatchStart::Continue;
    bool help = false;
};

struct BatchArguments {
    std::optional<BatchCommand> command;
    std::string error;
};

// True when the arguments ask for a batch (one of them is --batch or --batch=…).
bool AsksForBatch(const std::vector<std::string>& args);

BatchArguments ParseBatchArguments(const std::vector<std::string>& args, const batch::Environment& environment);

}  // namespace korvel::console
