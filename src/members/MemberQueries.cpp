#include "members/MemberQueries.h"

#include <algorithm>

#include "text/Text.h"

namespace korvel {

bool IsPlainDecimalInteger(std::string_view text)
{
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<std::string> BuildMemberQuery(int schemaValue, std::string_view typed)
{
    const std::string identifier = TrimSpaces(typed);
    if (!IsPlainDecimalInteger(identifier)) {
        return std::nullopt;
    }
    const bool old = schemaValue == MemberSchema052;
    std::string statement = old ? MemberQuery052Head : MemberQuery060Head;
    statement += identifier;
    statement += old ? MemberQuery052Tail : MemberQuery060Tail;
    return statement;
}

}  // namespace korvel
