#include "store/RunSequence.h"

#include <climits>

namespace korvel::store {
namespace {

// Reads one varint at `at`, moving it on; a varint cut off by the blob's end reads as what it had.
std::uint64_t NextVarint(std::string_view blob, size_t& at)
{
    std::uint64_t value = 0;
    for (int shift = 0; at < blob.size() && shift < 64; shift += 7) {
        const auto byte = static_cast<unsigned char>(blob[at++]);
        value |= std::uint64_t(byte & 0x7f) << shift;
        if ((byte & 0x80) == 0)
            break;
    }
    return value;
}

}  // namespace

void AppendVarint(std::string& out, std::uint64_t value)
{
    while (value >= 0x80) {
        out += static_cast<char>((value & 0x7f) | 0x80);
        value >>= 7;
    }
    out += static_cast<char>(value);
}

std::vector<std::int64_t> ReadVarints(std::string_view blob)
{
    std::vector<std::int64_t> values;
    for (size_t at = 0; at < blob.size();)
        values.push_back(static_cast<std::int64_t>(NextVarint(blob, at)));
    return values;
}

bool HoldsVarint(std::string_view blob, std::uint64_t value)
{
    for (size_t at = 0; at < blob.size();) {
        if (NextVarint(blob, at) == value)
            return true;
    }
    return false;
}

std::string EncodePages(const std::vector<int>& pages)
{
    std::string out;
    for (size_t i = 0; i < pages.size();) {
        size_t end = i;
        while (end < pages.size() && pages[end] == pages[i])
            ++end;
        AppendVarint(out, static_cast<std::uint64_t>(pages[i]));
        AppendVarint(out, end - i);
        i = end;
    }
    return out;
}

std::optional<std::vector<int>> DecodePages(std::string_view blob, size_t count)
{
    const std::vector<std::int64_t> pairs = ReadVarints(blob);
    if (pairs.size() % 2 != 0)
        return std::nullopt;
    std::vector<int> pages;
    for (size_t i = 0; i < pairs.size(); i += 2) {
        const auto page = static_cast<std::uint64_t>(pairs[i]);
        const auto repeats = static_cast<std::uint64_t>(pairs[i + 1]);
        if (page > std::uint64_t(INT_MAX) || repeats > count - pages.size())
            return std::nullopt;
        pages.insert(pages.end(), static_cast<size_t>(repeats), static_cast<int>(page));
    }
    if (pages.size() != count)
        return std::nullopt;
    return pages;
}

}  // namespace korvel::store
