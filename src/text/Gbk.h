#pragma once

// Korvel's one GBK codec. GBK is Windows code page 936 exactly as ICU's "windows-936-2000"
// converter reads and writes it: a lead byte 0x81-0xFE with a trail byte 0x40-0xFE (not 0x7F) is
// one character, 0x80 is the euro sign and 0xFF is U+F8F5, as on Windows.
//
// What does not convert, in both directions, follows one rule: it is replaced, never dropped and
// never stops the conversion.
// - Decoding: a byte that begins no character (a lead byte without a valid trail, or last in the
//   text) becomes U+FFFD, and the byte after it is read afresh.
// - Encoding: every character code page 936 cannot hold becomes one "?", as Windows writes it; so
//   does every ill-formed UTF-8 sequence and every lone surrogate.

#include <string>
#include <string_view>

namespace korvel::gbk {

std::u16string ToUtf16(std::string_view gbk);
std::string ToUtf8(std::string_view gbk);

std::string FromUtf16(std::u16string_view text);
std::string FromUtf8(std::string_view utf8);

}  // namespace korvel::gbk
