// Encoding reads one table of every character of the Basic Multilingual Plane, built once by
// asking ICU about each (65,536 short conversions), so it needs no converter object or lock.

#include <cstdint>
#include <vector>

#include "text/Gbk.h"
#include "text/GbkConverter.h"
#include "text/Utf8.h"

namespace korvel::gbk {
namespace {

constexpr char Unheld = '?';

// By character: its GBK bytes, one (below 0x100) or two (lead << 8 | trail).
using EncodeTable = std::vector<std::uint16_t>;

std::uint16_t AskIcu(UConverter* converter, char16_t unit)
{
    char bytes[4];
    UErrorCode status = U_ZERO_ERROR;
    ucnv_resetFromUnicode(converter);
    const int32_t n = ucnv_fromUChars(converter, bytes, sizeof bytes, &unit, 1, &status);
    if (U_FAILURE(status) || n < 1 || n > 2)
        return Unheld;
    const auto first = static_cast<unsigned char>(bytes[0]);
    return n == 1 ? first : static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(bytes[1]));
}

EncodeTable Build()
{
    EncodeTable table(0x10000, Unheld);
    for (char16_t unit = 0; unit < 0x80; ++unit)
        table[unit] = unit;
    const Converter converter = OpenConverter();
    UErrorCode status = U_ZERO_ERROR;
    if (converter)
        ucnv_setSubstChars(converter.get(), &Unheld, 1, &status);
    for (std::uint32_t unit = 0x80; converter && unit < 0x10000; ++unit) {
        if (unit < 0xD800 || unit > 0xDFFF)
            table[unit] = AskIcu(converter.get(), static_cast<char16_t>(unit));
    }
    return table;
}

void Append(std::string& out, char32_t c)
{
    // Never destroyed: a detached thread (a server's connection) may still encode at exit.
    static const EncodeTable& table = *new EncodeTable(Build());
    const std::uint16_t bytes = c < 0x10000 ? table[c] : Unheld;
    if (bytes >= 0x100)
        out += static_cast<char>(bytes >> 8);
    out += static_cast<char>(bytes & 0xFF);
}

}  // namespace

std::string FromUtf16(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t unit = text[at];
        const bool pair = unit >= 0xD800 && unit <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
                          text[at + 1] <= 0xDFFF;
        // Code page 936 holds no character beyond the Basic Multilingual Plane nor a lone surrogate.
        Append(out, unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
        at += pair ? 1 : 0;
    }
    return out;
}

std::string FromUtf8(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const Utf8Character c = NextUtf8(utf8, at);
        Append(out, c.code);
        at += c.length;
    }
    return out;
}

}  // namespace korvel::gbk
