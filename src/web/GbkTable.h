#pragma once

// GBK as ICU's "windows-936-2000" converter reads it, captured once in lookup tables so that
// decoding whole pages needs no converter object and no locking.

#include <array>
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
    // lead; the converter then substitutes U+FFFD for the lead and reads the trail anew.
    std::vector<char16_t> pairs;
    std::array<Utf8Char, 256> singleUtf8;
    // By (byte - 0x80) * 256 + next byte for every byte of 0x80 or above: what that byte starts,
    // a pair or (for 0x80, 0xFF and a bad second half) the byte alone.
    std::vector<Utf8Char> pairsUtf8;
};

inline constexpr char16_t Replacement = 0xFFFD;

const Table& SharedTable();
Utf8Char ToUtf8(char16_t unit);

// Calls emit(unit) for every UTF-16 unit of the GBK bytes, substituting U+FFFD for bad sequences.
template <typename Emit>
void Decode(std::string_view gbk, Emit&& emit)
{
    const Table& table = SharedTable();
    const auto* bytes = reinterpret_cast<const unsigned char*>(gbk.data());
    const size_t size = gbk.size();
    for (size_t at = 0; at < size;) {
        const unsigned char b = bytes[at];
        if (!table.lead[b] || at + 1 == size) {
            emit(table.single[b]);
            ++at;
            continue;
        }
        const char16_t unit = table.pairs[(b - 0x80) * 256 + bytes[at + 1]];
        emit(unit != 0 ? unit : Replacement);
        at += unit != 0 ? 2 : 1;
    }
}

}  // namespace korvel::gbk
