#pragma once

// Which part of a list one task of an array job collects. A host belongs to shard
// Fnv1a64(host) % count, the host in lower case as UTF-8 bytes: a documented split any tool can
// compute, stable whatever the list's order.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace korvel::batch {

struct Shard {
    std::uint64_t index = 0;
    std::uint64_t count = 1;
};

// 64-bit FNV-1a: offset basis 14695981039346656037, prime 1099511628211.
std::uint64_t Fnv1a64(std::string_view bytes);

bool InShard(std::string_view lowerCaseHost, const Shard& shard);

// An environment variable's value, or nothing when it is unset.
using Environment = std::function<std::optional<std::string>(const char* name)>;
Environment ProcessEnvironment();

struct ShardChoice {
    std::optional<Shard> shard;
    std::string error;
};

// "I/N", or "auto": a Slurm job array's task (SLURM_ARRAY_TASK_ID less SLURM_ARRAY_TASK_MIN of
// SLURM_ARRAY_TASK_COUNT, else of MAX - MIN + 1; the step must be 1), else a Kubernetes Indexed
// Job's JOB_COMPLETION_INDEX of KORVEL_SHARD_COUNT.
ShardChoice ParseShard(std::string_view text, const Environment& environment);

}  // namespace korvel::batch
