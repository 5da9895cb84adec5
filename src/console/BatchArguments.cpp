#include "BatchArguments.h"

#include <set>

#include "PacingOptions.h"
#include "batch/BatchId.h"

namespace korvel::console {
namespace {

constexpr const char* ValueOptions[] = {"--batch", "--batch-id", "--shard", "--out", "--jsonl", "--store"};

bool TakesValue(const std::string& option)
{
    if (IsPacingOption(option))
        return true;
    for (const char* known : ValueOptions) {
        if (option == known)
            return true;
    }
    return false;
}

// Applies one option with its value; an error text when the value is not one it takes.
std::string Apply(BatchCommand& command, const std::string& option, const std::string& value,
                  const batch::Environment& environment)
{
    if (IsPacingOption(option))
        return ApplyPacingOption(option, value, command.delay, command.retries);
    if (option == "--shard") {
        const batch::ShardChoice choice = batch::ParseShard(value, environment);
        if (choice.shard)
            command.shard = *choice.shard;
        return choice.error;
    }
    if (value.empty())
        return option + " needs a value";
    if (option == "--batch")
        command.list = value;
    else if (option == "--batch-id")
        command.batchId = value;
    else if (option == "--out")
        command.outFolder = value;
    else if (option == "--jsonl")
        command.jsonLines = value;
    else
        command.store = value;
    return option == "--batch-id" ? batch::BatchIdFault(value) : "";
}

std::pair<std::string, std::optional<std::string>> NameAndValue(const std::string& arg)
{
    const size_t equals = arg.find('=');
    if (!arg.starts_with("--") || equals == std::string::npos)
        return {arg, std::nullopt};
    return {arg.substr(0, equals), arg.substr(equals + 1)};
}

}  // namespace

bool AsksForBatch(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "--")
            return false;
        if (NameAndValue(arg).first == "--batch")
            return true;
    }
    return false;
}

BatchArguments ParseBatchArguments(const std::vector<std::string>& args, const batch::Environment& environment)
{
    BatchCommand command;
    std::set<std::string> seen;
    for (size_t i = 0; i < args.size(); ++i) {
        auto [name, value] = NameAndValue(args[i]);
        if (name == "-h" || name == "--help") {
            command.help = true;
            continue;
        }
        if (!name.starts_with("-"))
            return {std::nullopt, "a batch takes its shops from the list, not \"" + name + "\""};
        if (!seen.insert(name).second)
            return {std::nullopt, name + " given twice"};
        if (name == "--no-store") {
            if (value)
                return {std::nullopt, name + " takes no value"};
            command.noStore = true;
            continue;
        }
        if (name == "--retry-failed" || name == "--fresh") {
            if (value)
                return {std::nullopt, name + " takes no value"};
            command.start = name == "--fresh" ? batch::BatchStart::Fresh : batch::BatchStart::RetryFailed;
            continue;
        }
        if (!TakesValue(name))
            return {std::nullopt, name + " is not an option of a batch"};
        if (!value && i + 1 >= args.size())
            return {std::nullopt, name + " needs a value"};
        if (!value)
            value = args[++i];
        if (std::string error = Apply(command, name, *value, environment); !error.empty())
            return {std::nullopt, error};
    }
    if (seen.contains("--store") && seen.contains("--no-store"))
        return {std::nullopt, "--store and --no-store cannot both be given"};
    if (seen.contains("--no-store") && (seen.contains("--retry-failed") || seen.contains("--batch-id")))
        return {std::nullopt, "a batch with --no-store keeps no progress to go on with"};
    if (seen.contains("--retry-failed") && seen.contains("--fresh"))
        return {std::nullopt, "--retry-failed and --fresh cannot be given together"};
    return {command, ""};
}

}  // namespace korvel::console
