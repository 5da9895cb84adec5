#include "app/GbkCodec.h"

#include "text/Gbk.h"
#include "text/GbkTable.h"

namespace korvel {

QString FromGbk(std::string_view gbk)
{
    QString out;
    out.reserve(static_cast<qsizetype>(gbk.size()));
    gbk::Decode(gbk, [&out](char16_t unit) { out.append(QChar(unit)); });
    return out;
}

std::string ToGbk(const QString& text)
{
    return gbk::FromUtf16({reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())});
}

std::string Utf8ToGbk(std::string_view utf8)
{
    return gbk::FromUtf8(utf8);
}

}  // namespace korvel
