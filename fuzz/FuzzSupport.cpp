#include "FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace korvel::fuzz {
namespace {

// The length of the UTF-8 sequence starting at `at`, or 0 when it is not a valid one.
std::size_t Utf8SequenceLength(std::string_view s, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(s[at]);
    if (lead < 0x80)
        return 1;
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || at + length > s.size())
        return 0;
    std::uint32_t point = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(s[at + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        point = point << 6 | (next & 0x3F);
    }
    const std::uint32_t shortest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return point >= shortest && !surrogate && point <= 0x10FFFF ? length : 0;
}

}  // namespace

void Require(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

std::vector<std::string_view> Fields(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string_view> fields;
    std::size_t from = 0;
    for (std::size_t zero; (zero = input.find('\0', from)) != std::string_view::npos; from = zero + 1)
        fields.push_back(input.substr(from, zero - from));
    fields.push_back(input.substr(from));
    return fields;
}

NumbersAndFields SplitInput(const std::uint8_t* data, std::size_t size, std::size_t numberBytes)
{
    const std::size_t lead = std::min(size, numberBytes);
    NumbersAndFields input{std::string(reinterpret_cast<const char*>(data), lead),
                           Fields(data + lead, size - lead)};
    input.numbers.resize(numberBytes, '\0');
    return input;
}

std::string Field(const std::vector<std::string_view>& fields, std::size_t index, std::string_view fallback)
{
    return std::string(index < fields.size() ? fields[index] : fallback);
}

bool IsValidUtf8(std::string_view bytes)
{
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = Utf8SequenceLength(bytes, at);
        if (length == 0)
            return false;
        at += length;
    }
    return true;
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::int32_t StrtollClamped(const std::string& ascii)
{
    const long long wide = std::strtoll(ascii.c_str(), nullptr, 10);
    return static_cast<std::int32_t>(std::clamp<long long>(wide, std::numeric_limits<std::int32_t>::min(),
                                                           std::numeric_limits<std::int32_t>::max()));
}

std::vector<std::size_t> GbkCharStarts(std::string_view text)
{
    std::vector<std::size_t> starts;
    for (std::size_t at = 0; at < text.size();) {
        starts.push_back(at);
        at += static_cast<unsigned char>(text[at]) >= 0x80 && at + 1 < text.size() ? 2 : 1;
    }
    return starts;
}

}  // namespace korvel::fuzz
