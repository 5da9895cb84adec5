#pragma once

// What the fuzz targets share. A broken property aborts with its name, so libFuzzer keeps the
// input as a crash. An input carries several texts separated by zero bytes: Korvel's texts never
// hold one, so the cut loses nothing a real caller could pass.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::fuzz {

// Aborts, naming the property, when it does not hold.
void Require(bool holds, const char* property);

// The input cut at every zero byte: one field more than it has zero bytes.
std::vector<std::string_view> Fields(const std::uint8_t* data, std::size_t size);

// An input led by raw numbers: its first `numberBytes` bytes, padded with zero bytes when it is
// shorter, and the rest cut into fields.
struct NumbersAndFields {
    std::string numbers;
    std::vector<std::string_view> fields;
};
NumbersAndFields SplitInput(const std::uint8_t* data, std::size_t size, std::size_t numberBytes);

// The field at `index`, or `fallback` when the input has fewer fields.
std::string Field(const std::vector<std::string_view>& fields, std::size_t index,
                  std::string_view fallback = {});

// Shortest forms only, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

bool IsAscii(std::string_view text);

// The integer strtoll reads from an ASCII text (C locale, base 10), clamped to 32 bits.
std::int32_t StrtollClamped(const std::string& ascii);

// The offsets where characters of a GBK text begin, walked from the front: a byte of 0x80 or
// above with another byte after it opens a two-byte character.
std::vector<std::size_t> GbkCharStarts(std::string_view text);

}  // namespace korvel::fuzz
