#pragma once

// One row of the member list 超级列表框2: the caption (column 0) and the cells of columns 1 to 17,
// each the GBK text the database returned (NULL reads as empty). Column 18 always stays empty.

#include <array>
#include <string>

namespace korvel {

inline constexpr int MemberFieldCount = 17;

// The result column behind each cell, in list order: cell c holds MemberColumnNames[c - 1]. The
// balance (credit2) comes before the points (credit1).
inline constexpr std::array<const char*, MemberFieldCount> MemberColumnNames = {
    "weid",  "from_user",   "from_user_b",    "realname",   "gender", "mobile",
    "email", "pwd",         "credit2",        "credit1",    "follow", "status",
    "flag",  "nationality", "resideprovince", "residecity", "avatar"};

struct MemberRecord {
    std::string caption;
    std::array<std::string, MemberFieldCount> cells;

    // Cell c of the list row, 1 <= c <= 17.
    const std::string& cell(int c) const { return cells[c - 1]; }
    std::string& cell(int c) { return cells[c - 1]; }
};

}  // namespace korvel
