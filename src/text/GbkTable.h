#pragma once

// The codec's decoding tables, for the callers that decode whole pages and cannot afford a
// string per character: built once from ICU, then read without any converter or lock.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace korvel::gbk {

// UTF-8 bytes of one decoded character; the fourth byte is slack so a copy can always move four.
// `consumed` counts the GBK bytes it stands for.
struct Utf8Char {
    std::array<char, 4> bytes;
    std::uint8_t length;
    std::uint8_t consumed;
};

struct Table {
    // The UTF-16 unit of a byte standing alone (ASCII, 0x80, 0xFF, or a lead with no second half).
    std::array<char16_t, 256> single;
    std::array<bool, 256> lead;
    // By (lead - 0x80) * 256 + trail: the character's unit, or 0 when the trail cannot follow that
    // lead; the lead then becomes U+FFFD and the trail is read anew.
    std::vector<char16_t> pairs;
    std::array<Utf8Char, 256> singleUtf8;
    // By (byte - 0x80) * 256 + next byte for every byte of 0x80 or above: what that byte starts,
    // a pair or (for 0x80, 0xFF and a bad second half) the byte alone.
    std::vector<Utf8Char> pairsUtf8;

    const Utf8Char& utf8At(const unsigned char* bytes, std::size_t at, std::size_t size) const
    {
        return at + 1 < size ? pairsUtf8[(bytes[at] - 0x80) * 256 + bytes[at + 1]] : singleUtf8[bytes[at]];
    }
};

inline constexpr char16_t Replacement = 0xFFFD;

const Table& SharedTable();
Utf8Char Utf8Of(char16_t unit);

// Writes the UTF-8 of the text to `out`, which must hold 3 * gbk.size() + 4 bytes (three per byte
// at most, and slack for four-byte copies); returns the number of bytes written.
std::size_t DecodeToUtf8(std::string_view gbk, char* out);

// Calls take(unit) for every UTF-16 unit of the GBK bytes. (Not "emit": Qt makes that word a
// macro in every file that includes it.)
template <typename Take>
void Decode(std::string_view gbk, Take&& take)
{
    const Table& table = SharedTable();
    const auto* bytes = reinterpret_cast<const unsigned char*>(gbk.data());
    const std::size_t size = gbk.size();
    for (std::size_t at = 0; at < size;) {
        const unsigned char b = bytes[at];
        if (!table.lead[b] || at + 1 == size) {
            take(table.single[b]);
            ++at;
            continue;
        }
        const char16_t unit = table.pairs[(b - 0x80) * 256 + bytes[at + 1]];
        take(unit != 0 ? unit : Replacement);
        at += unit != 0 ? 2 : 1;
    }
}

}  // namespace korvel::gbk
