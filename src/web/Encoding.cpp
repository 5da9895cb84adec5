// GBK text to UTF-16LE and UTF-8 with the sizes and terminators of the Windows conversion calls
// (MultiByteToWideChar / WideCharToMultiByte with flags 0): the input ends at its first zero
// byte, bad sequences become U+FFFD and never stop the conversion.

#include "web/Encoding.h"

#include <cstring>

#include "web/GbkTable.h"

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
        const gbk::Utf8Char c = gbk::ToUtf8(static_cast<char16_t>(point));
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

// Writes the UTF-8 of every character to `out`, copying runs of ASCII eight bytes at a time;
// returns the number of bytes written.
size_t DecodeToUtf8(std::string_view gbk, char* out)
{
    const gbk::Table& table = gbk::SharedTable();
    const auto* bytes = reinterpret_cast<const unsigned char*>(gbk.data());
    const size_t size = gbk.size();
    char* const begin = out;
    size_t at = 0;
    while (at < size) {
        const unsigned char b = bytes[at];
        if (b < 0x80) {
            std::uint64_t word;
            if (at + 8 <= size && (std::memcpy(&word, bytes + at, 8), (word & 0x8080808080808080ULL) == 0)) {
                std::memcpy(out, bytes + at, 8);
                out += 8;
                at += 8;
            } else {
                *out++ = static_cast<char>(b);
                ++at;
            }
            continue;
        }
        const gbk::Utf8Char& c =
            at + 1 < size ? table.pairsUtf8[(b - 0x80) * 256 + bytes[at + 1]] : table.singleUtf8[b];
        std::memcpy(out, c.bytes.data(), 4);
        out += c.length;
        at += c.consumed;
    }
    return static_cast<size_t>(out - begin);
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
    out.resize(DecodeToUtf8(text, out.data()) + 1);
    out.back() = '\0';
    return out;
}

}  // namespace korvel
