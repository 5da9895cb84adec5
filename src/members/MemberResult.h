#pragma once

// Turning the rows of a member statement's result into member-list rows.

#include <mysql.h>

#include <array>

#include "members/MemberRecord.h"

namespace korvel {

// The caption of the k-th row of a read: k in decimal, left-padded with "0" to three characters
// and never cut (1 gives "001", 1000 gives "1000").
std::string MemberRowCaption(long long k);

// The position of each of the seventeen member columns in the result, found by name; -1 for a
// column the result does not hold (its cell then stays empty).
using MemberColumnPositions = std::array<int, MemberFieldCount>;
MemberColumnPositions FindMemberColumns(MYSQL_RES* result);

// The k-th row of a read: its caption and the cells in list order.
MemberRecord MemberFromRow(MYSQL_ROW row, const MemberColumnPositions& positions, long long k);

}  // namespace korvel
