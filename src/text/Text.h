#pragma once

// Korvel's text primitives. A text is GBK bytes without a zero byte inside; positions count bytes
// from 1 and a failed search answers -1. A byte of 0x80 or above starts a double-byte character,
// so searches only try positions where a character begins.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// A counted byte buffer; unlike a text it may hold zero bytes.
using Bytes = std::string;

// A start on the second half of a character moves to the next character; an empty sought text is
// found where the search begins.
int FindText(std::string_view text, std::string_view sought, int start = 1, bool ignoreCase = false);
int FindTextReverse(std::string_view text, std::string_view sought, bool ignoreCase = false);

std::string LeftText(std::string_view text, int n);
std::string RightText(std::string_view text, int n);
std::string MidText(std::string_view text, int start, int length);

std::string ReplaceText(std::string_view text, std::string_view sought, std::string_view replacement,
                        bool caseSensitive);
// An empty last piece after a final separator is dropped; a negative maxPieces means no maximum.
std::vector<std::string> SplitText(std::string_view text, std::string_view separator = ",",
                                   std::optional<int> maxPieces = std::nullopt);

// Spaces are the ASCII space and the full-width space A1 A1; tabs and line breaks are not.
std::string TrimSpaces(std::string_view text);
std::string DeleteSpaces(std::string_view text);
std::string ToLowerAscii(std::string_view text);

// Full-width digits, signs and the full-width point count as their ASCII forms. ToInteger clamps
// values outside 32 bits to the nearest end of the range.
std::int32_t ToInteger(std::string_view text);
double ToNumber(std::string_view text);
std::string IntToText(long long value);

// The bytes up to the first zero byte; no code-page conversion.
std::string BytesToText(std::string_view bytes);
Bytes TextToBytes(std::string_view text);

}  // namespace korvel
