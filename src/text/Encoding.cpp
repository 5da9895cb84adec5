// GBK text to UTF-16LE and UTF-8 with the sizes and terminators of the Windows conversion calls
// (MultiByteToWideChar / WideCharToMultiByte with flags 0): the input ends at its first zero
// byte, bad sequences become U+FFFD and never stop the conversion.

#include "text/Encoding.h"

#include <cstring>

#include "text/GbkTable.h"

namespace korvel {
namespace {

char16_t UnitAt(std::string_view utf16le, size_t index)
{
    const auto low = static_cast<unsigned char>(utf16le[2 * index]);
    const auto high = static_cast<unsigned char>(utf16le[2 * index + 1]);
    return static_cast<char16_t>(low | (high << 8));
}

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendCodePoint(std::string& out, char32_t point)
{
    if (point < 0x10000) {
        const gbk::Utf8Char c = gbk::Utf8Of(static_cast<char16_t>(point));
        out.append(c.bytes.data(), c.length);
        return;
    }
    out += static_cast<char>(0xF0 | (point >> 18));
    out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (point & 0x3F));
}

// UTF-8 of `count` units; surrogate pairs join, lone surrogates become U+FFFD.
std::string EncodeUtf8(std::string_view utf16le, size_t count)
{
    std::string out;
    out.reserve(count * 3);
    for (size_t i = 0; i < count; ++i) {
        const char16_t unit = UnitAt(utf16le, i);
        if (IsHighSurrogate(unit) && i + 1 < count && IsLowSurrogate(UnitAt(utf16le, i + 1))) {
            const char16_t low = UnitAt(utf16le, ++i);
            AppendCodePoint(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else {
            AppendCodePoint(out, unit);
        }
    }
    return out;
}

}  // namespace

Bytes GbkToUtf16(std::string_view gbk, bool dropTerminator)
{
    const std::string_view text = gbk.substr(0, gbk.find('\0'));
    if (text.empty()) {
        return {};
    }
    Bytes out(2 * text.size() + 2, '\0');
    char* next = out.data();
    gbk::Decode(text, [&next](char16_t unit) {
        *next++ = static_cast<char>(unit & 0xFF);
        *next++ = static_cast<char>(unit >> 8);
    });
    // The buffer's last two bytes, still zero, are the terminator.
    out.resize(static_cast<size_t>(next - out.data()) + (dropTerminator ? 0 : 2));
    return out;
}

// The output is sized for all code units but filled only up to the first zero unit, as the
// Windows pair of calls does; a buffer without a zero unit is converted whole and terminated.
Bytes Utf16ToUtf8(std::string_view utf16le)
{
    const size_t count = utf16le.size() / 2;
    size_t zeroAt = 0;
    while (zeroAt < count && UnitAt(utf16le, zeroAt) != 0) {
        ++zeroAt;
    }
    Bytes out = EncodeUtf8(utf16le, count);
    if (zeroAt == count) {
        return count == 0 ? out : out + '\0';
    }
    const size_t filled = EncodeUtf8(utf16le, zeroAt).size();
    std::memset(out.data() + filled, 0, out.size() - filled);
    return out;
}

Bytes GbkToUtf8(std::string_view gbk)
{
    const std::string_view text = gbk.substr(0, gbk.find('\0'));
    if (text.empty()) {
        return {};
    }
    // At most three UTF-8 bytes per GBK byte, plus slack for the four-byte copies.
    Bytes out(3 * text.size() + 4, '\0');
    out.resize(gbk::DecodeToUtf8(text, out.data()) + 1);
    out.back() = '\0';
    return out;
}

}  // namespace korvel
