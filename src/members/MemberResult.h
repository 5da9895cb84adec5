#pragma once

// Turning the rows of a member statement's result into member-list rows.

#include <array>

#include "members/MemberRecord.h"

// libmariadb's MYSQL_RES, opaque here as in MemberDbConnection.h.
struct st_mysql_res;

namespace korvel {

// The caption of the k-th row of a read: k in decimal, left-padded with "0" to three characters
// and never cut (1 gives "001", 1000 gives "1000").
std::string MemberRowCaption(long long k);

// The position of each of the seventeen member columns in the result, found by name; -1 for a
// column the result does not hold (its cell then stays empty).
using MemberColumnPositions = std::array<int, MemberFieldCount>;
MemberColumnPositions FindMemberColumns(st_mysql_res* result);

// The k-th row of a read (a MYSQL_ROW): its caption and the cells in list order.
MemberRecord MemberFromRow(char** row, const MemberColumnPositions& positions, long long k);

}  // namespace korvel
