#pragma once

// The one crossing between Korvel's GBK bytes and Qt's strings, over the codec of text/Gbk.h
// and its rule for what does not convert. The core only ever sees the bytes.

#include <QString>
#include <string>
#include <string_view>

namespace korvel {

// Bytes that begin no character show as U+FFFD; they are never changed in the model that holds them.
QString FromGbk(std::string_view gbk);

// A character code page 936 cannot hold becomes "?".
std::string ToGbk(const QString& text);

// For texts written in this source as UTF-8 literals (captions, messages).
std::string Utf8ToGbk(std::string_view utf8);

}  // namespace korvel
