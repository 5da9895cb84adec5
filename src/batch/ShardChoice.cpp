#include <charconv>
#include <cstdlib>

#include "batch/Shard.h"

namespace korvel::batch {
namespace {

// A task count far beyond any engine's array limit is a typing error, not a plan.
constexpr std::uint64_t MostShards = 1'000'000;

std::optional<std::uint64_t> Whole(std::string_view text)
{
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

ShardChoice Wrong(std::string error)
{
    return {std::nullopt, std::move(error)};
}

ShardChoice Checked(std::uint64_t index, std::uint64_t count, const std::string& source)
{
    if (count == 0 || count > MostShards)
        return Wrong(source + " gives " + std::to_string(count) + " shards; from 1 to 1000000 are possible");
    if (index >= count)
        return Wrong(source + " gives shard " + std::to_string(index) + " of " + std::to_string(count) +
                     "; it must be from 0 to " + std::to_string(count - 1));
    return {Shard{index, count}, ""};
}

// Every named variable that is set must hold a whole number.
struct Reader {
    const Environment& environment;
    std::string error;

    std::optional<std::uint64_t> operator()(const char* name)
    {
        const auto text = environment(name);
        if (!text)
            return std::nullopt;
        const auto value = Whole(*text);
        if (!value && error.empty())
            error = std::string(name) + "=\"" + *text + "\" is not a whole number";
        return value;
    }
};

ShardChoice FromSlurm(Reader& read, std::optional<std::uint64_t> kubernetesCount)
{
    const auto id = read("SLURM_ARRAY_TASK_ID");
    const auto min = read("SLURM_ARRAY_TASK_MIN");
    const auto max = read("SLURM_ARRAY_TASK_MAX");
    const auto count = read("SLURM_ARRAY_TASK_COUNT");
    const auto step = read("SLURM_ARRAY_TASK_STEP");
    if (!read.error.empty())
        return Wrong("--shard auto: " + read.error);
    if (!id)
        return Wrong("--shard auto: SLURM_ARRAY_TASK_ID is not set");
    if (step && *step != 1)
        return Wrong("--shard auto: the array's step is " + std::to_string(*step) + "; shards need a step of 1");
    const std::uint64_t first = min.value_or(0);
    if (*id < first || (max && *max < first))
        return Wrong("--shard auto: SLURM_ARRAY_TASK_ID or SLURM_ARRAY_TASK_MAX is below SLURM_ARRAY_TASK_MIN");
    if (!count && !max)
        return Wrong("--shard auto: neither SLURM_ARRAY_TASK_COUNT nor SLURM_ARRAY_TASK_MAX is set");
    const std::uint64_t shards = count ? *count : *max - first + 1;
    if (count && max && *count != *max - first + 1)
        return Wrong("--shard auto: SLURM_ARRAY_TASK_COUNT disagrees with SLURM_ARRAY_TASK_MIN and MAX "
                     "(an array of separate indices cannot be split into shards)");
    if (kubernetesCount && *kubernetesCount != shards)
        return Wrong("--shard auto: KORVEL_SHARD_COUNT disagrees with the Slurm array's task count");
    return Checked(*id - first, shards, "--shard auto (Slurm)");
}

ShardChoice FromEngine(const Environment& environment)
{
    Reader read{environment, ""};
    const auto index = read("JOB_COMPLETION_INDEX");
    const auto count = read("KORVEL_SHARD_COUNT");
    if (!read.error.empty())
        return Wrong("--shard auto: " + read.error);
    const bool slurm = environment("SLURM_ARRAY_TASK_ID") || environment("SLURM_ARRAY_TASK_MIN") ||
                       environment("SLURM_ARRAY_TASK_MAX") || environment("SLURM_ARRAY_TASK_COUNT");
    if (slurm && index)
        return Wrong("--shard auto: both a Slurm array task and JOB_COMPLETION_INDEX are set");
    if (slurm)
        return FromSlurm(read, count);
    if (!index && !count)
        return Wrong("--shard auto: no array job's variables are set (SLURM_ARRAY_TASK_ID, or "
                     "JOB_COMPLETION_INDEX with KORVEL_SHARD_COUNT)");
    if (!index || !count)
        return Wrong(std::string("--shard auto: ") + (index ? "KORVEL_SHARD_COUNT" : "JOB_COMPLETION_INDEX") +
                     " is not set");
    return Checked(*index, *count, "--shard auto (JOB_COMPLETION_INDEX)");
}

}  // namespace

Environment ProcessEnvironment()
{
    return [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    };
}

ShardChoice ParseShard(std::string_view text, const Environment& environment)
{
    if (text == "auto")
        return FromEngine(environment);
    const size_t slash = text.find('/');
    const auto index = Whole(text.substr(0, slash));
    const auto count = slash == std::string_view::npos ? std::nullopt : Whole(text.substr(slash + 1));
    if (!index || !count)
        return Wrong("--shard takes I/N (whole numbers, 0 <= I < N) or auto, not \"" + std::string(text) + "\"");
    return Checked(*index, *count, "--shard " + std::string(text));
}

}  // namespace korvel::batch
