#include "text/Gbk.h"

#include "text/GbkTable.h"

namespace korvel::gbk {

std::u16string ToUtf16(std::string_view gbk)
{
    std::u16string out;
    out.reserve(gbk.size());
    Decode(gbk, [&out](char16_t unit) { out += unit; });
    return out;
}

std::string ToUtf8(std::string_view gbk)
{
    std::string out(3 * gbk.size() + 4, '\0');
    out.resize(DecodeToUtf8(gbk, out.data()));
    return out;
}

}  // namespace korvel::gbk
