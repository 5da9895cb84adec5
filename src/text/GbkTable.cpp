// Builds the decoding tables by asking ICU about every byte and byte pair once (about 33,000 short
// conversions, a few milliseconds), so that code page 936 behaviour, 0x80 as the euro sign
// included, comes from ICU's own mapping rather than from a copy of it.

#include "text/GbkTable.h"

#include <cstring>
#include <string>

#include "text/GbkConverter.h"

namespace korvel::gbk {
namespace {

// The units ICU makes of `input` read as a whole; empty when the converter fails.
std::u16string Convert(UConverter* converter, std::string_view input)
{
    std::array<UChar, 8> units{};
    UChar* target = units.data();
    const char* source = input.data();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_reset(converter);
    ucnv_toUnicode(converter, &target, units.data() + units.size(), &source, input.data() + input.size(),
                   nullptr, true, &status);
    if (U_FAILURE(status)) {
        return {};
    }
    return std::u16string(units.data(), target);
}

void FillUnits(Table& table, UConverter* converter)
{
    table.single.fill(Replacement);
    table.pairs.assign(128 * 256, 0);
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const std::u16string units = converter ? Convert(converter, {&byte, 1}) : std::u16string();
        if (units.size() == 1) {
            table.single[b] = units[0];
        } else if (b < 0x80) {
            table.single[b] = static_cast<char16_t>(b);
        }
    }
    for (int lead = 0x80; converter && lead < 0x100; ++lead) {
        for (int trail = 0; trail < 0x100; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string units = Convert(converter, {pair, 2});
            if (units.size() == 1 && units[0] != 0) {
                table.pairs[(lead - 0x80) * 256 + trail] = units[0];
                table.lead[lead] = true;
            }
        }
    }
}

void FillUtf8(Table& table)
{
    for (int b = 0; b < 256; ++b) {
        table.singleUtf8[b] = Utf8Of(table.single[b]);
    }
    table.pairsUtf8.reserve(table.pairs.size());
    for (size_t index = 0; index < table.pairs.size(); ++index) {
        const char16_t unit = table.pairs[index];
        Utf8Char c = Utf8Of(unit != 0 ? unit : Replacement);
        if (!table.lead[0x80 + index / 256]) {
            c = table.singleUtf8[0x80 + index / 256];
        }
        c.consumed = unit != 0 ? 2 : 1;
        table.pairsUtf8.push_back(c);
    }
}

Table Build()
{
    Table table{};
    FillUnits(table, OpenConverter().get());
    FillUtf8(table);
    return table;
}

}  // namespace

Converter OpenConverter()
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open("windows-936-2000", &status));
    return U_SUCCESS(status) ? std::move(converter) : nullptr;
}

const Table& SharedTable()
{
    // Never destroyed: a detached thread may still decode at exit.
    static const Table& table = *new Table(Build());
    return table;
}

// A lone surrogate cannot be written as UTF-8 and becomes U+FFFD, as the Windows converter does.
Utf8Char Utf8Of(char16_t unit)
{
    if (unit >= 0xD800 && unit <= 0xDFFF) {
        unit = Replacement;
    }
    if (unit < 0x80) {
        return {{static_cast<char>(unit)}, 1, 1};
    }
    if (unit < 0x800) {
        return {{static_cast<char>(0xC0 | (unit >> 6)), static_cast<char>(0x80 | (unit & 0x3F))}, 2, 1};
    }
    return {{static_cast<char>(0xE0 | (unit >> 12)), static_cast<char>(0x80 | ((unit >> 6) & 0x3F)),
             static_cast<char>(0x80 | (unit & 0x3F))},
            3,
            1};
}

// Runs of ASCII are copied eight bytes at a time.
std::size_t DecodeToUtf8(std::string_view gbk, char* out)
{
    const Table& table = SharedTable();
    const auto* bytes = reinterpret_cast<const unsigned char*>(gbk.data());
    const std::size_t size = gbk.size();
    char* const begin = out;
    std::size_t at = 0;
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
        const Utf8Char& c = table.utf8At(bytes, at, size);
        std::memcpy(out, c.bytes.data(), 4);
        out += c.length;
        at += c.consumed;
    }
    return static_cast<std::size_t>(out - begin);
}

}  // namespace korvel::gbk
