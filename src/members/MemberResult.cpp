#include "members/MemberResult.h"

#include <mysql.h>

#include <cstring>

namespace korvel {

std::string MemberRowCaption(long long k)
{
    std::string digits = std::to_string(k);
    if (digits.size() < 3) {
        digits.insert(0, 3 - digits.size(), '0');
    }
    return digits;
}

MemberColumnPositions FindMemberColumns(MYSQL_RES* result)
{
    MemberColumnPositions positions;
    positions.fill(-1);
    const MYSQL_FIELD* fields = mysql_fetch_fields(result);
    const unsigned int count = mysql_num_fields(result);
    for (int c = 0; c < MemberFieldCount; ++c) {
        for (unsigned int f = 0; f < count; ++f) {
            if (std::strcmp(fields[f].name, MemberColumnNames[c]) == 0) {
                positions[c] = static_cast<int>(f);
                break;
            }
        }
    }
    return positions;
}

MemberRecord MemberFromRow(MYSQL_ROW row, const MemberColumnPositions& positions, long long k)
{
    MemberRecord record;
    record.caption = MemberRowCaption(k);
    for (int c = 0; c < MemberFieldCount; ++c) {
        const int at = positions[c];
        // A value ends at its first zero byte, as the list cells hold texts; NULL reads as empty.
        if (at >= 0 && row[at] != nullptr) {
            record.cells[c] = row[at];
        }
    }
    return record;
}

}  // namespace korvel
