#include "app/GbkCodec.h"

#include <unicode/ucnv.h>

#include <memory>
#include <stdexcept>

namespace korvel {
namespace {

struct ConverterClose {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterClose>;

// ICU converters keep state, so every thread gets its own; 0x80 is the euro sign in this table.
UConverter* Gbk()
{
    thread_local Converter converter = [] {
        UErrorCode status = U_ZERO_ERROR;
        Converter c(ucnv_open("windows-936-2000", &status));
        if (U_FAILURE(status)) {
            throw std::runtime_error("ICU has no windows-936-2000 converter");
        }
        ucnv_setSubstChars(c.get(), "?", 1, &status);
        return c;
    }();
    return converter.get();
}

}  // namespace

QString FromGbk(std::string_view gbk)
{
    if (gbk.empty()) {
        return {};
    }
    QString out(static_cast<qsizetype>(gbk.size()), Qt::Uninitialized);
    UErrorCode status = U_ZERO_ERROR;
    ucnv_resetToUnicode(Gbk());
    const int32_t n =
        ucnv_toUChars(Gbk(), reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                      gbk.data(), static_cast<int32_t>(gbk.size()), &status);
    out.resize(U_FAILURE(status) ? 0 : n);
    return out;
}

std::string ToGbk(const QString& text)
{
    if (text.isEmpty()) {
        return {};
    }
    std::string out(static_cast<size_t>(text.size()) * 2, '\0');
    UErrorCode status = U_ZERO_ERROR;
    ucnv_resetFromUnicode(Gbk());
    const int32_t n = ucnv_fromUChars(Gbk(), out.data(), static_cast<int32_t>(out.size()),
                                      reinterpret_cast<const UChar*>(text.utf16()),
                                      static_cast<int32_t>(text.size()), &status);
    out.resize(U_FAILURE(status) ? 0 : static_cast<size_t>(n));
    return out;
}

std::string Utf8ToGbk(std::string_view utf8)
{
    return ToGbk(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

}  // namespace korvel
