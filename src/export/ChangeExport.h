#pragma once

// A shop's changes for other programs and spreadsheets, as UTF-8 rows the store's report gives
// (store/ChangeRows.h). JSON Lines carry one object per change with the keys of ChangeColumns; the
// CSV has the same columns under a header row, with a byte-order mark, through the product CSV's
// record writer.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korvel {

// One change as text: every field UTF-8.
struct ChangeRow {
    std::string shop;
    std::string id;
    std::string kind;  // ChangeKindName
    std::optional<std::string> before;
    std::optional<std::string> after;
    std::optional<std::string> delta;
    std::optional<std::string> percent;
    std::string title;
    std::int64_t runBefore = 0;
    std::int64_t runAfter = 0;
};

// The JSON keys, and the CSV's and the workbook's column titles, in this order.
inline constexpr std::array<const char*, 10> ChangeColumns = {
    "shop", "id", "kind", "before", "after", "delta", "percent", "title", "run_before", "run_after"};

std::string ChangesJsonLines(const std::vector<ChangeRow>& rows);
std::string ChangesCsv(const std::vector<ChangeRow>& rows);

}  // namespace korvel
