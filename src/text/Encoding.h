#pragma once

// GBK to UTF-16LE and UTF-8 in the shapes of the Windows conversion calls, over the codec of
// text/Gbk.h: bodies for the back-end must be UTF-8, everything else stays GBK.

#include <string>
#include <string_view>

#include "text/Text.h"

namespace korvel {

// UTF-16LE code units with the terminating zero unit, or without it when dropTerminator is set.
Bytes GbkToUtf16(std::string_view gbk, bool dropTerminator = false);
// UTF-8 bytes followed by one zero byte.
Bytes Utf16ToUtf8(std::string_view utf16le);
// The UTF-8 bytes of the text and one zero byte; empty for an empty text.
Bytes GbkToUtf8(std::string_view gbk);

}  // namespace korvel
