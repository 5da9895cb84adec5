// Builds the GBK tables by asking ICU about every byte and byte pair once (about 33,000 short
// conversions, a few milliseconds), so that Windows code page 936 behaviour, 0x80 as the euro
// sign included, comes from ICU's own mapping rather than from a copy of it.

#include "web/GbkTable.h"

#include <unicode/ucnv.h>

#include <memory>

namespace korvel::gbk {
namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

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

Table Build()
{
    Table table{};
    table.single.fill(Replacement);
    table.pairs.assign(128 * 256, 0);
    UErrorCode status = U_ZERO_ERROR;
    const Converter converter(ucnv_open("windows-936-2000", &status));
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const std::u16string units = converter ? Convert(converter.get(), {&byte, 1}) : std::u16string();
        if (units.size() == 1) {
            table.single[b] = units[0];
        } else if (b < 0x80) {
            table.single[b] = static_cast<char16_t>(b);
        }
    }
    for (int lead = 0x80; converter && lead < 0x100; ++lead) {
        for (int trail = 0; trail < 0x100; ++trail) {
            const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string units = Convert(converter.get(), {pair, 2});
            if (units.size() == 1 && units[0] != 0) {
                table.pairs[(lead - 0x80) * 256 + trail] = units[0];
                table.lead[lead] = true;
            }
        }
    }
    for (int b = 0; b < 256; ++b) {
        table.singleUtf8[b] = ToUtf8(table.single[b]);
    }
    table.pairsUtf8.reserve(table.pairs.size());
    for (size_t index = 0; index < table.pairs.size(); ++index) {
        const char16_t unit = table.pairs[index];
        Utf8Char c = ToUtf8(unit != 0 ? unit : Replacement);
        if (!table.lead[0x80 + index / 256]) {
            c = table.singleUtf8[0x80 + index / 256];
        }
        c.consumed = unit != 0 ? 2 : 1;
        table.pairsUtf8.push_back(c);
    }
    return table;
}

}  // namespace

const Table& SharedTable()
{
    static const Table table = Build();
    return table;
}

// A lone surrogate cannot be written as UTF-8 and becomes U+FFFD, as the Windows converter does.
Utf8Char ToUtf8(char16_t unit)
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

}  // namespace korvel::gbk
