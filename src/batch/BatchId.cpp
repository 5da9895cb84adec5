#include "batch/BatchId.h"

#include <cstdio>

#include "batch/Shard.h"

namespace korvel::batch {

std::string ListBatchId(const std::vector<std::string>& hosts)
{
    std::string content;
    for (const std::string& host : hosts)
        content += host + "\n";
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(Fnv1a64(content)));
    return std::string("list-") + hex;
}

std::string BatchIdFault(const std::string& name)
{
    if (name.empty() || name.size() > 128)
        return "--batch-id takes a name of 1 to 128 characters";
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return "--batch-id may not hold control characters";
    }
    return "";
}

}  // namespace korvel::batch
