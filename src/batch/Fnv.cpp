#include "batch/Shard.h"

namespace korvel::batch {

std::uint64_t Fnv1a64(std::string_view bytes)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211ULL;
    }
    return hash;
}

bool InShard(std::string_view lowerCaseHost, const Shard& shard)
{
    return Fnv1a64(lowerCaseHost) % shard.count == shard.index;
}

}  // namespace korvel::batch
