#pragma once

// ICU's converter for code page 936, which the codec's tables are built from; nothing else in
// Korvel opens one.

#include <unicode/ucnv.h>

#include <memory>

namespace korvel::gbk {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Null when ICU lacks the table; the codec then knows ASCII only and replaces everything else.
Converter OpenConverter();

}  // namespace korvel::gbk
