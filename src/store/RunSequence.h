#pragma once

// A run's products in their order as one blob: each product's row id as an unsigned LEB128
// varint (three bytes up to two million products), and its pages as (page, count) pairs.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::store {

void AppendVarint(std::string& out, std::uint64_t value);
std::vector<std::int64_t> ReadVarints(std::string_view blob);
// Whether the blob holds the value, reading no further than its first occurrence.
bool HoldsVarint(std::string_view blob, std::uint64_t value);

// One page number per product, run-length encoded. Decoding trusts no count in the blob: nothing
// when its runs do not add up to exactly `count` pages (a damaged blob).
std::string EncodePages(const std::vector<int>& pages);
std::optional<std::vector<int>> DecodePages(std::string_view blob, size_t count);

}  // namespace korvel::store
